// CSingleDocTemplate: makes and owns the one document, frame and view.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>

#include "document.h"

class CFrameWnd;
class CFormView;
class CWinApp;

// Makes the program's one document, main frame and view, and owns them.
// resourceId names the frame's title string (its first line), default menu
// and class icon.
class CSingleDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;
    using ViewFactory = std::function<std::unique_ptr<CFormView>()>;

    CSingleDocTemplate(UINT nIDResource, DocumentFactory makeDocument, FrameFactory makeFrame,
                       ViewFactory makeView);
    ~CSingleDocTemplate();

    // The first call builds everything, makes the frame the application's
    // main window, runs the view's OnInitialUpdate and shows the frame;
    // later calls return the same frame. nullptr when a step failed.
    CFrameWnd* OpenDocumentFile(CWinApp& app);

private:
    UINT m_nIDResource;
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    // Declared so that the view goes first, then its frame.
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
    std::unique_ptr<CFormView> m_view;
};
