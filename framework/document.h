// CDocument: the single document of the start-up sequence.
#pragma once
#include <windows.h>

// The single document. The program's document holds no data; the class
// exists for the start-up sequence, which asks it to begin a new document.
class CDocument {
public:
    virtual ~CDocument() = default;
    // FALSE stops the start-up.
    virtual BOOL OnNewDocument() { return TRUE; }
};
