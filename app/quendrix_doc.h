// The single document: the framework's start-up asks for one, but the
// program keeps no data in it, so it is never modified and never saved.
#pragma once

#include "document.h"

class CQuendrixDoc : public CDocument {};
