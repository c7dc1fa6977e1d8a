#pragma once
// VxSunEdit: a masked edit. The mask marks editable positions with '_'; every other character of
// the mask is fixed text that the caret steps over. Typing overwrites the character at the caret
// when the hooks IsValidChar and IsValidInput allow it; Backspace puts the default text's
// character back one position to the left. The text always has the mask's length.
// A pasted text (WM_PASTE) replaces the whole text when PastedText accepts it; otherwise the
// edit keeps its text and answers 0.

#include "mfc/afxcmn.h"

class VxSunEdit : public CEdit {
public:
    VxSunEdit() = default;

    // Only characters of this string may be typed; empty: every printable character.
    virtual bool IsValidChar(wchar_t ch);
    // Whether `ch` may be typed at the caret; the base only applies IsValidChar.
    virtual bool IsValidInput(wchar_t ch);

    // The caret position (0-based).
    int GetActivePos() const;
    // Moves the caret forward onto the next editable position of the mask (or the end).
    void MoveToValidPos();

    // The text a paste of `typed` leaves in the edit, or false when the edit cannot hold it.
    // The base takes the mask's length with its fixed characters in place, or only the
    // editable characters (the fixed ones are filled in); every editable character must pass
    // IsValidChar.
    virtual bool PastedText(const CString& typed, CString& text);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void PreSubclassWindow() override;

    CString m_strMask;                // '_' = editable position
    CString m_strDefault;             // text shown for an empty edit
    CString m_strValidChars;          // allowed characters
    unsigned char m_bCheckInput = 1;  // when 0, derived classes skip their range checks

private:
    bool IsEditable(int pos) const;
    void Overwrite(int pos, wchar_t ch);
};
