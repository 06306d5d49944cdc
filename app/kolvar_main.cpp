// The program's one application object; the framework's WinMain runs it.
#include "quendrix_app.h"

CQuendrixApp theApp;
