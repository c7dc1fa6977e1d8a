#include "wxhost/MainFrame.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/filedlg.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/popupwin.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <iostream>

#include "acad/AcEdHostText.h"
#include "acad/acdb.h"
#include "mfc/Utf8.h"
#include "wxhost/PlanPanel.h"
#include "wxhost/ScreenGrab.h"
#include "wxhost/WxFrontEnd.h"

namespace solx::wxhost {
using editor::HostText;

namespace {

// The commands of the analysis module, in menu order.
const wchar_t* const kCommands[][2] = {
    {L"VxWinSunAna", editor::HostKey(L"Window sunlight analysis")},
    {L"VxSunSPoint", editor::HostKey(L"Single-point sunlight query")},
    {L"VxSunMPoint", editor::HostKey(L"Grid sunlight analysis")},
    {L"VxShadow2d", editor::HostKey(L"Shadow outlines on a plane")},
    {L"VxSunEqCurve", editor::HostKey(L"Equal-hour lines")},
    {L"VxShadow", editor::HostKey(L"3D shadow simulation")},
};
constexpr int kCommandBase = wxID_HIGHEST + 100;
constexpr int kUndo = wxID_HIGHEST + 120, kChinese = wxID_HIGHEST + 121,
              kEnglish = wxID_HIGHEST + 122, kZoomExtents = wxID_HIGHEST + 123;

wxString Wx(const std::wstring& text) {
    return wxString(text.c_str());
}

// The keywords of a prompt: the choices of its last "[A(A)/B(B)]" part, each with what to
// type for it (the letters in parentheses, or the whole word).
std::vector<std::pair<std::wstring, std::wstring>> Keywords(const std::wstring& prompt) {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    const auto open = prompt.rfind(L'['), close = prompt.rfind(L']');
    if (open == std::wstring::npos || close == std::wstring::npos || close < open) return out;
    const std::wstring inside = prompt.substr(open + 1, close - open - 1);
    // "[caption]" before a dialog's lines is no choice.
    if (inside.find_first_of(L"/(（") == std::wstring::npos) return out;
    size_t start = 0;
    while (start <= inside.size()) {
        size_t slash = inside.find(L'/', start);
        if (slash == std::wstring::npos) slash = inside.size();
        const std::wstring choice = inside.substr(start, slash - start);
        std::wstring typed = choice;
        const auto p = choice.find_last_of(L"(（"), q = choice.find_last_of(L")）");
        if (p != std::wstring::npos && q != std::wstring::npos && q > p + 1)
            typed = choice.substr(p + 1, q - p - 1);
        if (!choice.empty()) out.push_back({choice, typed});
        start = slash + 1;
    }
    return out;
}

// A tip window: its rows in two columns on a light background, without a frame of its own.
// The pointer over it still works the plan beneath: the tip sits a few pixels from the cursor,
// so a move to the lower right enters it, and its moves and clicks go on to the plan.
class TipPopup : public wxPopupWindow {
public:
    using Forward = std::function<void(const wxPoint& screen, bool click)>;
    TipPopup(wxWindow* parent, Forward forward)
        : wxPopupWindow(parent, wxBORDER_NONE), forward_(std::move(forward)) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &TipPopup::OnPaint, this);
        Bind(wxEVT_MOTION,
             [this](wxMouseEvent& e) { forward_(ClientToScreen(e.GetPosition()), false); });
        Bind(wxEVT_LEFT_UP,
             [this](wxMouseEvent& e) { forward_(ClientToScreen(e.GetPosition()), true); });
    }

    void SetView(const ui::TipView& view) {
        view_ = view;
        wxClientDC dc(this);
        dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
        labelWidth_ = view.labelWidth, valueWidth_ = view.valueWidth, rowHeight_ = view.rowHeight;
        for (const auto& row : view.rows) {  // the screen font may be wider than the estimate
            const wxSize l = dc.GetTextExtent(Wx(row.label)), v = dc.GetTextExtent(Wx(row.value));
            labelWidth_ = std::max(labelWidth_, l.x), valueWidth_ = std::max(valueWidth_, v.x);
            rowHeight_ = std::max(rowHeight_, std::max(l.y, v.y) + 2);
        }
        const int m = view.margin;
        SetSize(m * 4 + labelWidth_ + valueWidth_ + 1,
                m + static_cast<int>(view.rows.size()) * (rowHeight_ + m) + 1);
        Refresh();
    }

private:
    void OnPaint(wxPaintEvent&) {
        wxAutoBufferedPaintDC dc(this);
        const wxSize size = GetClientSize();
        dc.SetBrush(wxBrush(wxColour(255, 255, 225)));
        dc.SetPen(wxPen(wxColour(0, 0, 0)));
        dc.DrawRectangle(0, 0, size.x, size.y);
        dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
        dc.SetTextForeground(wxColour(0, 0, 0));
        const int m = view_.margin, split = m * 2 + labelWidth_;
        dc.SetPen(wxPen(wxColour(160, 160, 160)));
        dc.DrawLine(split, 1, split, size.y - 1);
        int y = m;
        for (const auto& row : view_.rows) {
            dc.DrawText(Wx(row.label), m, y);
            dc.DrawText(Wx(row.value), split + m, y);
            y += rowHeight_ + m;
        }
    }

    Forward forward_;
    ui::TipView view_;
    int labelWidth_ = 0, valueWidth_ = 0, rowHeight_ = 16;
};

}  // namespace

MainFrame::MainFrame(const std::wstring& title, SessionActions actions)
    : wxFrame(nullptr, wxID_ANY, Wx(title), wxDefaultPosition, wxSize(1100, 800)),
      actions_(std::move(actions)) {
    PlanInput input;
    input.point = [this](double x, double y) {
        if (!frontEnd_) return;
        entry_->SetFocus();
        frontEnd_->SupplyPoint(x, y);
    };
    input.window = [this](double x0, double y0, double x1, double y1, bool crossing) {
        if (!frontEnd_) return;
        entry_->SetFocus();
        frontEnd_->SupplyWindow(x0, y0, x1, y1, crossing);
    };
    input.move = [this](double x, double y) {
        if (frontEnd_) frontEnd_->SupplyMove(x, y);
    };

    planInput_ = input;
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    plan_ = new PlanPanel(this, input);
    sizer->Add(plan_, 1, wxEXPAND);
    history_ = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(-1, 120),
                              wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP);
    sizer->Add(history_, 0, wxEXPAND);
    keywords_ = new wxPanel(this);
    keywordSizer_ = new wxBoxSizer(wxHORIZONTAL);
    keywords_->SetSizer(keywordSizer_);
    {  // the row keeps a button's height without keywords, so the plan does not jump
        auto* probe =
            new wxButton(keywords_, wxID_ANY, "X", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
        keywords_->SetMinSize(wxSize(-1, probe->GetBestSize().y + 2));
        probe->Destroy();
    }
    sizer->Add(keywords_, 0, wxEXPAND);
    entry_ =
        new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    sizer->Add(entry_, 0, wxEXPAND);
    SetSizer(sizer);
    entry_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnEntry(); });
    entry_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
        const int key = e.GetKeyCode();
        if ((key != WXK_UP && key != WXK_DOWN) || typed_.empty()) return e.Skip();
        if (key == WXK_UP && recall_ > 0) --recall_;
        if (key == WXK_DOWN && recall_ < typed_.size()) ++recall_;
        entry_->SetValue(recall_ < typed_.size() ? Wx(typed_[recall_]) : wxString());
        entry_->SetInsertionPointEnd();
    });

    // Typing reaches the command line wherever the focus is in the window, as at a drawing
    // board: the plan takes the focus when clicked, and its characters go on to the entry.
    plan_->Bind(wxEVT_CHAR, [this](wxKeyEvent& e) { OnPlanChar(e); });
    entry_->SetFocus();

    CreateStatusBar(2);
    const int widths[] = {-1, 200};
    GetStatusBar()->SetStatusWidths(2, widths);
    gauge_ = new wxGauge(GetStatusBar(), wxID_ANY, 100);
    gauge_->Hide();
    GetStatusBar()->Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        wxRect r;
        GetStatusBar()->GetFieldRect(1, r);
        gauge_->SetSize(r.Deflate(2));
        e.Skip();
    });
    BuildMenus();
    Bind(wxEVT_MENU, &MainFrame::OnMenu, this);
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &MainFrame::OnCharHook, this);
    ui::SetTipObserver([this](HWND window, const ui::TipView* view) { ShowTip(window, view); });
}

MainFrame::~MainFrame() {
    ui::SetTipObserver({});
}

void MainFrame::BuildMenus() {
    auto* file = new wxMenu;
    file->Append(wxID_OPEN, Wx(HostText(L"&Open...\tCtrl+O")));
    file->Append(wxID_SAVE, Wx(HostText(L"&Save\tCtrl+S")));
    file->Append(wxID_SAVEAS, Wx(HostText(L"Save &As...")));
    file->AppendSeparator();
    file->Append(wxID_EXIT, Wx(HostText(L"E&xit")));
    auto* edit = new wxMenu;
    edit->Append(kUndo, Wx(HostText(L"&Undo\tCtrl+Z")));
    auto* view = new wxMenu;
    view->Append(kZoomExtents, Wx(HostText(L"Zoom &Extents")));
    auto* analysis = new wxMenu;
    for (int i = 0; i < 6; ++i)
        analysis->Append(kCommandBase + i, Wx(HostText(kCommands[i][1]) + std::wstring(L" (") +
                                              kCommands[i][0] + L")"));
    auto* language = new wxMenu;
    language->AppendRadioItem(kChinese, wxString::FromUTF8("中文"));
    language->AppendRadioItem(kEnglish, "English");
    language->Check(HostText(L"*Cancel*") == std::wstring(L"*Cancel*") ? kEnglish : kChinese, true);
    auto* bar = new wxMenuBar;
    bar->Append(file, Wx(HostText(L"&File")));
    bar->Append(edit, Wx(HostText(L"&Edit")));
    bar->Append(view, Wx(HostText(L"&View")));
    bar->Append(analysis, Wx(HostText(L"&Analysis")));
    bar->Append(language, Wx(HostText(L"&Language")));
    delete GetMenuBar();
    SetMenuBar(bar);

    delete GetToolBar();
    wxToolBar* tools = CreateToolBar(wxTB_HORIZONTAL | wxTB_TEXT | wxTB_NOICONS);
    tools->AddTool(wxID_OPEN, Wx(HostText(L"Open")), wxNullBitmap);
    tools->AddTool(wxID_SAVE, Wx(HostText(L"Save")), wxNullBitmap);
    tools->AddTool(kUndo, Wx(HostText(L"Undo")), wxNullBitmap);
    tools->AddSeparator();
    for (int i = 0; i < 6; ++i)
        tools->AddTool(kCommandBase + i, Wx(kCommands[i][0]), wxNullBitmap,
                       Wx(HostText(kCommands[i][1])));
    tools->Realize();
}

void MainFrame::OnMenu(wxCommandEvent& e) {
    const int id = e.GetId();
    if (id >= kCommandBase && id < kCommandBase + 6)
        return OnCommand(kCommands[id - kCommandBase][0]);
    switch (id) {
        case wxID_OPEN:
            return OnOpen();
        case wxID_SAVE:
            return OnCommand(L"SAVE");
        case wxID_SAVEAS:
            return OnSaveAs();
        case wxID_EXIT:
            Close();
            return;
        case kUndo:
            return OnCommand(L"UNDO");
        case kZoomExtents:
            plan_->ZoomExtents();
            return;
        case kChinese:
        case kEnglish:
            if (!frontEnd_ || !frontEnd_->AtCommandPrompt())
                return Status(HostText(L"Finish the running command first."));
            if (actions_.switchLanguage) actions_.switchLanguage(id == kChinese ? L"Chs" : L"Eng");
            return;
    }
}

void MainFrame::OnCommand(const std::wstring& line) {
    if (!frontEnd_ || !frontEnd_->AtCommandPrompt())
        return Status(HostText(L"Finish the running command first."));
    frontEnd_->Supply(line);
}

// One drawing a window: another drawing opens in a window of its own.
void MainFrame::OnOpen() {
    wxFileDialog dialog(this, Wx(HostText(L"Open")), "", "", "DXF (*.dxf)|*.dxf;*.DXF",
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() == wxID_OK && actions_.openDrawing)
        actions_.openDrawing(dialog.GetPath().ToStdWstring());
}

void MainFrame::OnSaveAs() {
    if (!frontEnd_ || !frontEnd_->AtCommandPrompt())
        return Status(HostText(L"Finish the running command first."));
    wxFileDialog dialog(this, Wx(HostText(L"Save As")), "", "", "DXF (*.dxf)|*.dxf",
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return;
    frontEnd_->Supply(L"SAVEAS");
    frontEnd_->Supply(dialog.GetPath().ToStdWstring());
}

void MainFrame::OnEntry() {
    const std::wstring text = entry_->GetValue().ToStdWstring();
    entry_->Clear();
    if (!text.empty()) typed_.push_back(text);
    recall_ = typed_.size();
    if (frontEnd_) frontEnd_->SupplyTyped(text);
}

void MainFrame::OnPlanChar(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    const wxChar c = event.GetUnicodeKey();
    if (event.HasAnyModifiers()) return event.Skip();  // Ctrl and Alt: menus, shortcuts
    if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        entry_->SetFocus();
        return OnEntry();
    }
    if (key == WXK_BACK) {
        const wxString text = entry_->GetValue();
        if (!text.empty()) entry_->SetValue(text.Left(text.length() - 1));
    } else if (c != WXK_NONE && c >= 32 && c != 127) {
        entry_->AppendText(wxString(c));
    } else {
        return event.Skip();
    }
    entry_->SetFocus();
    entry_->SetInsertionPointEnd();
}

void MainFrame::OnClose(wxCloseEvent& event) {
    // The session ends the command loop and destroys the window once it has unwound.
    if (frontEnd_ && event.CanVeto()) {
        event.Veto();
        frontEnd_->Close();
        return;
    }
    event.Skip();
}

void MainFrame::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && frontEnd_) {
        frontEnd_->Break();
        return;
    }
    event.Skip();
}

void MainFrame::AppendHistory(const std::wstring& text) {
    history_->AppendText(Wx(text));
}

void MainFrame::FollowDrawing(bool throttled) {
    if (const AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase())
        plan_->Follow(*db, throttled);
}

void MainFrame::ShowPrompt(const std::wstring& prompt) {
    ShowKeywords(prompt);
    // After a dialog or a click elsewhere in the window the next answer is typed in the entry;
    // another window that has the focus (the simulation window) keeps it.
    const wxWindow* focus = FindFocus();
    if (!focus || (focus != entry_ && wxGetTopLevelParent(const_cast<wxWindow*>(focus)) == this))
        entry_->SetFocus();
    entry_->SetHint(Wx(prompt.substr(prompt.find_first_not_of(L'\n') == std::wstring::npos
                                         ? prompt.size()
                                         : prompt.find_first_not_of(L'\n'))));
}

void MainFrame::EchoAnswer(const std::wstring& text) {
    history_->AppendText(Wx(text) + "\n");
}

// Keywords of the prompt as buttons that answer with their letters.
void MainFrame::ShowKeywords(const std::wstring& prompt) {
    // Cursor tracking asks again on every move: the same buttons stay (and stay clickable).
    auto keywords = Keywords(prompt);
    if (keywords == shownKeywords_) return;
    shownKeywords_ = keywords;
    keywordSizer_->Clear(true);
    for (const auto& [label, typed] : keywords) {
        auto* button = new wxButton(keywords_, wxID_ANY, Wx(label), wxDefaultPosition,
                                    wxDefaultSize, wxBU_EXACTFIT);
        button->Bind(wxEVT_BUTTON, [this, answer = typed](wxCommandEvent&) {
            entry_->SetFocus();
            if (frontEnd_) frontEnd_->SupplyTyped(answer);
        });
        keywordSizer_->Add(button, 0, wxALL, 1);
    }
    Layout();
}

void MainFrame::ShowProgress(const std::wstring& label, int percent) {
    if (label.empty()) {
        gauge_->Hide();
        SetStatusText("", 0);
        return;
    }
    SetStatusText(Wx(label), 0);
    gauge_->Show();
    gauge_->SetValue(std::clamp(percent, 0, 100));
}

void MainFrame::Status(const std::wstring& text) {
    SetStatusText(Wx(text), 0);
}

wxPoint MainFrame::PlanScreenPoint(double x, double y) const {
    return plan_->ClientToScreen(plan_->ToPixel(x, y));
}

// The tip rectangle is in the plan's client pixels (the editor's view is the plan's).
void MainFrame::ShowTip(HWND window, const ui::TipView* view) {
    auto it = tips_.find(window);
    if (!view) {
        if (it != tips_.end()) it->second->Destroy(), tips_.erase(it);
        return;
    }
    if (it == tips_.end()) {
        auto forward = [this](const wxPoint& screen, bool click) {
            double x = 0, y = 0;
            plan_->ToWorld(plan_->ScreenToClient(screen), x, y);
            if (click && planInput_.point) planInput_.point(x, y);
            if (!click && planInput_.move) planInput_.move(x, y);
        };
        it = tips_.emplace(window, new TipPopup(this, forward)).first;
    }
    auto* popup = static_cast<TipPopup*>(it->second);
    popup->SetView(*view);
    popup->Move(plan_->ClientToScreen(wxPoint(view->rect.left, view->rect.top)));
    popup->Show();
    popup->Update();
}

// The screen's pixels of the window's rectangle, read from the X server: what a person sees,
// the popups over the window included (the toolkit's screen device context gives back stale
// pixels on GTK 3).
bool MainFrame::Screenshot(const std::string& path, std::string& error) {
    Update();
    wxYield();
    // The workbench's windows as the screen shows them: this one and every window of its own
    // that is open beside it (dialogs, the simulation window), popups included.
    wxRect r = GetScreenRect();
    std::vector<wxWindow*> others;
    for (wxWindow* window : wxTopLevelWindows) {
        if (window == this || !window->IsShown()) continue;
        window->Update();
        others.push_back(window);
        r.Union(window->GetScreenRect());
    }
    r.Intersect(wxRect(wxPoint(0, 0), wxGetDisplaySize()));
    std::vector<unsigned char> rgb;
    if (!GrabScreen(r.x, r.y, r.width, r.height, rgb))
        return error = "cannot read the screen for " + path, false;
    wxImage image(r.width, r.height, false);
    std::copy(rgb.begin(), rgb.end(), image.GetData());
    if (!image.SaveFile(wxString::FromUTF8(path.c_str()), wxBITMAP_TYPE_PNG)) {
        error = "cannot write the screenshot " + path;
        return false;
    }
    // Where things are in the picture: the plan, the cursor, this window and the others.
    auto place = [&r](const wxRect& rect) {
        return std::to_string(rect.x - r.x) + ',' + std::to_string(rect.y - r.y) + ' ' +
               std::to_string(rect.width) + 'x' + std::to_string(rect.height);
    };
    const wxPoint cursor = wxGetMousePosition() - r.GetTopLeft();
    std::cout << "\nscreenshot " << path << ": plan "
              << place(wxRect(plan_->ClientToScreen(wxPoint(0, 0)), plan_->GetClientSize()))
              << " cursor " << cursor.x << ',' << cursor.y << " main " << place(GetScreenRect());
    for (wxWindow* window : others)
        std::cout << " window " << place(window->GetScreenRect()) << " \""
                  << window->GetLabel().utf8_string() << '"';
    std::cout << std::endl;
    return true;
}

}  // namespace solx::wxhost
