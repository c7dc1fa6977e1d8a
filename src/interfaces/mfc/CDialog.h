#pragma once
// CDialog: a dialog made from a template (resources/dialogs, see docs/formats.md) and shown
// modally by the current presenter. DoModal answers IDOK or IDCANCEL (EndDialog's value), or -1
// when the template is missing.

#include "mfc/CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual std::intptr_t DoModal();
    // Creates the dialog's windows without running it (a modeless dialog, or a dialog a test
    // drives directly) and initialises it; end it with DestroyWindow.
    BOOL Create(UINT templateId = 0, CWnd* parent = nullptr);
    virtual BOOL OnInitDialog();
    void EndDialog(int result);
    // Moves member values to the controls (save false) or controls to members with validation
    // (save true). False when a validation failed; the failing control then has the focus.
    BOOL UpdateData(BOOL save = TRUE);

    UINT TemplateId() const { return m_templateId; }
    bool IsModalEnded() const { return m_ended; }
    int ModalResult() const { return m_modalResult; }

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    void DeclareMessageMap(CMessageMap& map) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CWnd* m_pParentWnd = nullptr;

private:
    bool CreateFromTemplate();
    UINT m_templateId;
    int m_modalResult = -1;
    bool m_ended = false;
};
