#include "doc_template.h"

#include "form_view.h"
#include "frame_wnd.h"
#include "win_app.h"

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, DocumentFactory makeDocument,
                                       FrameFactory makeFrame, ViewFactory makeView)
    : m_nIDResource(nIDResource),
      m_makeDocument(std::move(makeDocument)),
      m_makeFrame(std::move(makeFrame)),
      m_makeView(std::move(makeView))
{
}

CSingleDocTemplate::~CSingleDocTemplate() = default;

CFrameWnd* CSingleDocTemplate::OpenDocumentFile(CWinApp& app)
{
    if (m_frame)
        return m_frame.get();
    std::unique_ptr<CDocument> document = m_makeDocument();
    if (!document || !document->OnNewDocument())
        return nullptr;
    std::unique_ptr<CFormView> view = m_makeView();
    std::unique_ptr<CFrameWnd> frame = m_makeFrame();
    if (!view || !frame || !frame->LoadFrame(m_nIDResource, view.get()))
        return nullptr;
    m_document = std::move(document);
    m_frame = std::move(frame);
    m_view = std::move(view);

    if (!app.m_pMainWnd)
        app.m_pMainWnd = m_frame.get();
    m_frame->RecalcLayout();
    m_view->OnInitialUpdate();
    if (m_frame->m_hWnd) {
        m_frame->ShowWindow(app.m_nCmdShow);
        m_frame->UpdateWindow();
    }
    return m_frame.get();
}
