#include "SolxRenderDlg.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "acad/aced.h"
#include "host/VxUtPushResource.h"
#include "mfc/CDataExchange.h"
#include "mfc/Modeless.h"
#include "mfc/Utf8.h"
#include "mfc/WindowState.h"
#include "mfc/afxwin.h"
#include "render/SolxRenderContext.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxSunPlace.h"
#include "solx/SolxSunSample.h"

namespace {

SolxRenderDlg* g_renderDlg = nullptr;
bool g_checking = false;  // CheckEdits runs (its own message boxes move the focus)

constexpr int kPlace = 2004, kLatitude = 2005, kLongitude = 2006, kDate = 2008, kTerm = 2014;
constexpr int kTime = 2015, kStart = 2016, kEnd = 2017, kStep = 2018, kSpin = 2019;
constexpr int kPlaneShadows = 2021, kFaceShadows = 2022, kRoofs = 2023, kBalconies = 2024;
constexpr int kPlaneEdit = 2027, kPlaneSlider = 2028, kReload = 2029, kDefaultView = 2030;
constexpr int kAutoRecord = 2031, kRecordOptions = 2032, kPlay = 2033, kTimeSlider = 2034;
constexpr int kView = 2035;
constexpr int kSettingsGroup = 2000;

// Rounds half away from zero.
double RoundHalfAway(double v) {
    return v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
}

void SetChecked(const CWnd& dialog, int id, bool on) {
    if (CWnd* control = dialog.GetDlgItem(id)) control->m_hWnd->check = on ? 1 : 0;
}

bool IsChecked(const CWnd& dialog, int id) {
    const CWnd* control = dialog.GetDlgItem(id);
    return control && control->m_hWnd->check != 0;
}

void Enable(const CWnd& dialog, int id, bool on) {
    if (CWnd* control = dialog.GetDlgItem(id)) control->EnableWindow(on ? TRUE : FALSE);
}

std::wstring NumberText(double v) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%g", v);
    return text;
}

}  // namespace

SolxRenderDlg::SolxRenderDlg() : CDialog(kTemplate), m_recordPath(g_sRecordFile) {}

SolxRenderDlg::~SolxRenderDlg() {
    solx::ui::RemoveModelessWindow(this);
    if (g_renderDlg == this) g_renderDlg = nullptr;
}

SolxRenderDlg* SolxRenderDlg::Instance() {
    return g_renderDlg;
}

void SolxRenderDlg::CloseInstance() {
    if (g_renderDlg) g_renderDlg->SendMessage(WM_CLOSE);
}

bool SolxRenderDlg::Open(bool loadModel, std::string& error) {
    auto context = CreateViewRenderContext(kTemplate, kView, kViewWidth, kViewHeight, error);
    if (!context) return false;
    if (!m_view.Create(std::move(context), loadModel)) {
        error = "the OpenGL context cannot be made current";
        return false;
    }
    g_renderDlg = this;
    if (!Create(kTemplate)) {
        error = "no dialog template 2000";
        g_renderDlg = nullptr;
        return false;
    }
    solx::ui::AddModelessWindow(this);
    ShowWindow(SW_SHOW);
    return true;
}

void SolxRenderDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, kView, m_viewControl);
    DDX_Control(pDX, kPlace, m_comboPlace);
    DDX_Control(pDX, kTerm, m_comboTerm);
    DDX_Control(pDX, kDate, m_dateCtrl);
    DDX_Control(pDX, kTime, m_timeEdit);
    DDX_Control(pDX, kStart, m_startEdit);
    DDX_Control(pDX, kEnd, m_endEdit);
    DDX_Control(pDX, kStep, m_stepEdit);
    DDX_Control(pDX, kSpin, m_spinStep);
    DDX_Control(pDX, kPlaneEdit, m_planeEdit);
    DDX_Control(pDX, kPlaneSlider, m_planeSlider);
    DDX_Control(pDX, kTimeSlider, m_timeSlider);
    DDX_Control(pDX, kPlay, m_playButton);
    DDX_Text(pDX, kStep, m_step);
    DDX_Check(pDX, kAutoRecord, m_autoRecord);
}

void SolxRenderDlg::DeclareMessageMap(CMessageMap& map) {
    CDialog::DeclareMessageMap(map);
    for (int id : {kTime, kStart, kEnd, kPlaneEdit})
        map.OnCommand(EN_KILLFOCUS, id, [this] { OnEditKillFocus(); });
    map.OnCommand(EN_CHANGE, kPlaneEdit, [this] { OnPlaneChange(); });
    map.OnCommand(BN_CLICKED, kPlaneShadows, [this] { OnPlaneShadows(); });
    map.OnCommand(BN_CLICKED, kFaceShadows, [this] { OnFaceShadows(); });
    map.OnCommand(BN_CLICKED, kRoofs, [this] { OnShowRoofs(); });
    map.OnCommand(BN_CLICKED, kBalconies, [this] { OnShowBalconies(); });
    map.OnCommand(BN_CLICKED, kReload, [this] { OnReloadModel(); });
    map.OnCommand(BN_CLICKED, kDefaultView, [this] { OnDefaultView(); });
    map.OnCommand(BN_CLICKED, kPlay, [this] { OnPlay(); });
    map.OnCommand(BN_CLICKED, kRecordOptions, [this] { OnRecordOptions(); });
    map.OnCommand(CBN_SELCHANGE, kTerm, [this] { OnTermChanged(); });
    map.OnCommand(CBN_SELCHANGE, kPlace, [this] { OnPlaceChanged(); });
    map.OnNotify(DTN_DATETIMECHANGE, kDate, [this](NMHDR*, LRESULT*) { OnDateChanged(); });
}

BOOL SolxRenderDlg::OnInitDialog() {
    CDialog::OnInitDialog();  // binds the controls
    g_SunDataSet.LoadSunDataSetDict(&g_dictSunSet);
    CheckEdits(false);

    // The place of the settings (the last item opens the place chooser), the date and its
    // solar term.
    m_places.CreatPlaceDlg(this);
    m_comboPlace.ResetContent();
    for (const SolxCity& city : g_SunDataSet.m_cities)
        m_comboPlace.AddString(city.m_strName.c_str());
    const wchar_t* place = g_SunDataSet.m_zone.m_strName.c_str();
    if (m_comboPlace.FindStringExact(-1, place) == CB_ERR) m_comboPlace.AddString(place);
    m_comboPlace.AddString(SolxDataSetDlgBase::MorePlacesText());
    m_comboPlace.SetCurSel(m_comboPlace.FindStringExact(-1, place));
    m_comboTerm.ResetContent();
    for (int i = 0; i < 24; ++i) m_comboTerm.AddString(SolxDate::GetTermName(i));
    const SolxDate& date = g_SunDataSet.m_date;
    SYSTEMTIME day{};
    day.wYear = static_cast<WORD>(date.GetYear());
    day.wMonth = static_cast<WORD>(date.GetMonth());
    day.wDay = static_cast<WORD>(date.GetDay());
    m_dateCtrl.SetTime(&day);
    m_comboTerm.SetCurSel(date.GetSTermIndex());
    ShowPlaceTexts();

    SetPlaneRange(static_cast<int>(RoundHalfAway(m_view.m_bottomHeight)),
                  static_cast<int>(RoundHalfAway(m_view.m_topHeight)));
    m_planeSlider.SetPos(0);
    m_planeEdit.SetWindowText(L"0");
    m_planeEdit.SetModify(FALSE);

    m_startEdit.SetRange(0, 0, 23, 59);
    m_endEdit.SetRange(0, 0, 23, 59);
    ShowTime(m_startEdit, m_startMinute);
    ShowTime(m_endEdit, m_endMinute);
    m_timeEdit.SetRange(m_startMinute / 60, m_startMinute % 60, m_endMinute / 60, m_endMinute % 60);
    ShowTime(m_timeEdit, m_minute);
    for (CEdit* edit : {static_cast<CEdit*>(&m_timeEdit), static_cast<CEdit*>(&m_startEdit),
                        static_cast<CEdit*>(&m_endEdit)})
        edit->SetModify(FALSE);
    m_timeSlider.SetRange(m_startMinute, m_endMinute);
    m_timeSlider.SetPos(m_minute);
    m_spinStep.SetRange(1, 60);
    m_spinStep.SetPos(m_step);
    m_playButton.SetWindowText(VxUtLangText(L"播放"));

    SetChecked(*this, kPlaneShadows, !m_view.m_faceShadow);
    SetChecked(*this, kFaceShadows, m_view.m_faceShadow);
    SetChecked(*this, kRoofs, m_view.m_showModelFaces);
    SetChecked(*this, kBalconies, m_view.m_showBalconies);
    RememberLayout();
    ApplySun();
    SetTimer(kPollTimer, 200);
    return TRUE;
}

// The pixels of a dialog unit come from the view, whose template rectangle shows a context of
// a known pixel size (the offscreen one asked for, or the on-screen canvas a desktop window laid
// out in its own dialog units); the window's client size at creation follows from the
// template's.
void SolxRenderDlg::RememberLayout() {
    m_layout.clear();
    for (int id : {kSettingsGroup, kPlay, kTimeSlider, kView})
        if (const CWnd* control = GetDlgItem(id)) m_layout.push_back({id, control->m_hWnd->rect});
    if (const SolxRenderContext* context = m_view.Context())
        m_viewWidth = context->Width(), m_viewHeight = context->Height();
    const CWnd* view = GetDlgItem(kView);
    if (view && view->m_hWnd->rect.width > 0 && view->m_hWnd->rect.height > 0) {
        m_unitX = static_cast<double>(m_viewWidth) / view->m_hWnd->rect.width;
        m_unitY = static_cast<double>(m_viewHeight) / view->m_hWnd->rect.height;
    }
    m_clientWidth = static_cast<int>(std::lround(m_hWnd->rect.width * m_unitX));
    m_clientHeight = static_cast<int>(std::lround(m_hWnd->rect.height * m_unitY));
}

// A new client size: the settings group grows in height, the play button moves down, the time
// slider moves down and grows in width, the view grows both ways; the rest keeps its place.
// Everything is taken from the layout at creation, so repeated resizes do not drift. The view
// keeps even sizes (video encoders take no odd ones) of at least 2 x 2 pixels.
void SolxRenderDlg::OnSize(int width, int height) {
    if (m_clientWidth <= 0 || width <= 0 || height <= 0) return;
    const int dx = width - m_clientWidth, dy = height - m_clientHeight;
    const int unitsX = static_cast<int>(std::lround(dx / m_unitX));
    const int unitsY = static_cast<int>(std::lround(dy / m_unitY));
    for (const Placed& placed : m_layout) {
        CWnd* control = GetDlgItem(placed.id);
        if (!control) continue;
        solx::ui::DialogRect rect = placed.rect;
        switch (placed.id) {
            case kSettingsGroup:
                rect.height = std::max(1, rect.height + unitsY);
                break;
            case kPlay:
                rect.y += unitsY;
                break;
            case kTimeSlider:
                rect.y += unitsY;
                rect.width = std::max(1, rect.width + unitsX);
                break;
            case kView:
                rect.width = std::max(1, rect.width + unitsX);
                rect.height = std::max(1, rect.height + unitsY);
                break;
            default:
                break;
        }
        control->m_hWnd->rect = rect;
    }
    const int viewWidth = std::max(2, (m_viewWidth + dx) & ~1);
    const int viewHeight = std::max(2, (m_viewHeight + dy) & ~1);
    m_view.OnSize(viewWidth, viewHeight);
}

void SolxRenderDlg::OnPlaceChanged() {
    const int sel = m_comboPlace.GetCurSel();
    if (sel < 0) return;
    SolxDataSet& s = g_SunDataSet;
    if (sel + 1 == m_comboPlace.GetCount()) {
        // The chooser: a place new to the list goes in before the chooser's item.
        if (m_places.PlaceDlgDoModal() == IDOK) {
            const std::wstring name = s.m_zone.m_strName;
            if (m_comboPlace.FindStringExact(-1, name.c_str()) == CB_ERR) {
                m_comboPlace.InsertString(m_comboPlace.GetCount() - 1, name.c_str());
                s.m_cities.emplace_back(name);
            }
            s.m_strPlace = name;
            ShowPlaceTexts();
            ApplySun();
        }
        m_comboPlace.SetCurSel(m_comboPlace.FindStringExact(-1, s.m_zone.m_strName.c_str()));
        return;
    }
    const std::wstring name = m_comboPlace.GetLBTextString(sel);
    SolxZoneRecord zone;
    if (!m_places.FindPlaceDlgZone(name, zone)) {
        CString message;
        message.Format(VxUtLangText(L"请在地区数据库中建立 %s 的位置数据"), name.c_str());
        AfxMessageBox(message, MB_OK);
        m_comboPlace.SetCurSel(m_comboPlace.FindStringExact(-1, s.m_zone.m_strName.c_str()));
        return;
    }
    s.m_zone = zone;
    s.m_strPlace = name;
    ShowPlaceTexts();
    ApplySun();
}

void SolxRenderDlg::ShowPlaceTexts() {
    SetDlgItemText(kLatitude, g_SunDataSet.m_zone.FormatLatitude().c_str());
    SetDlgItemText(kLongitude, g_SunDataSet.m_zone.FormatLongitude().c_str());
}

void SolxRenderDlg::SetPlaneRange(int low, int high) {
    m_modelBottom = low;
    m_modelTop = high;
    m_planeSlider.SetRange(low, high, TRUE);
}

void SolxRenderDlg::ShowTime(SolxTimeEdit& edit, int minute) {
    edit.SetWindowText(L"00:00");
    edit.SetHour(minute / 60);
    edit.SetMinute(minute % 60);
}

void SolxRenderDlg::ApplySun() {
    double altitude = 0, azimuth = 0, hourAngle = 0;
    getSunPlace(g_SunDataSet.m_zone.Longitude(), g_SunDataSet.m_zone.Latitude(),
                g_SunDataSet.m_date.GetDgLat(), m_minute / 60.0, altitude, azimuth, hourAngle);
    const AcGeVector3d ray = SunRayVector(altitude, azimuth);
    m_view.SetSunDirection(VxGePoint{ray.x, ray.y, ray.z});
    m_view.Refresh();
}

void SolxRenderDlg::Warn(const wchar_t* text, CWnd& focus) {
    if (m_playing) StopAnimation();
    AfxMessageBox(VxUtLangText(text), MB_OK);
    focus.SetFocus();
}

bool SolxRenderDlg::CheckEdits(bool save) {
    if (!save) {
        UpdateData(FALSE);
        return true;
    }
    if (g_checking) {
        m_silentCheck = false;
        return false;
    }
    g_checking = true;
    const bool silent = m_silentCheck;
    m_silentCheck = false;
    bool ok = true;
    auto fail = [&](const wchar_t* text, CWnd& edit) {
        if (!silent) Warn(text, edit);
        ok = false;
    };
    const int start = m_startEdit.GetHour() * 60 + m_startEdit.GetMinute();
    const int end = m_endEdit.GetHour() * 60 + m_endEdit.GetMinute();
    const bool startModified = m_startEdit.GetModify();
    const bool endModified = m_endEdit.GetModify();
    if (startModified && (!m_startEdit.IsValid() || start > end)) {
        fail(L"无效的开始时间", m_startEdit);
    } else if (endModified && (!m_endEdit.IsValid() || start > end)) {
        fail(L"无效的结束时间", m_endEdit);
    } else if (startModified || endModified) {
        m_timeEdit.SetRange(start / 60, start % 60, end / 60, end % 60);
        m_timeSlider.SetRange(start, end, TRUE);
        m_timeSlider.SetPos(start + 1);
        m_startMinute = start;
        m_endMinute = end;
        m_startEdit.SetModify(FALSE);
        m_endEdit.SetModify(FALSE);
    }
    const int current = m_timeEdit.GetHour() * 60 + m_timeEdit.GetMinute();
    if (ok) {
        if (m_timeEdit.GetModify() &&
            (!m_timeEdit.IsValid() || current < m_startMinute || current > m_endMinute))
            fail(L"无效的当前时间", m_timeEdit);
        else
            m_timeSlider.SetPos(current);
    }
    if (ok && m_planeEdit.GetModify()) {
        wchar_t* rest = nullptr;
        const std::wstring text = m_planeEdit.GetWindowTextString();
        const double height = std::wcstod(text.c_str(), &rest);
        if (text.empty() || *rest != 0 || height < m_modelBottom || height > m_modelTop) {
            fail(L"无效的阴影高度", m_planeEdit);
        } else {
            m_planeSlider.SetPos(static_cast<int>(RoundHalfAway(height)));
            m_planeHeight = height;
            m_view.m_planeHeight = height;
            m_view.Refresh();
        }
    }
    if (ok) {
        UpdateData(TRUE);
        m_minute = current;
        m_timeEdit.SetModify(FALSE);
        m_planeEdit.SetModify(FALSE);
        ApplySun();
    }
    g_checking = false;
    return ok;
}

bool SolxRenderDlg::AnyEditModified() const {
    return m_timeEdit.GetModify() || m_startEdit.GetModify() || m_endEdit.GetModify() ||
           m_planeEdit.GetModify();
}

void SolxRenderDlg::OnEditKillFocus() {
    if (AnyEditModified()) CheckEdits(true);
}

void SolxRenderDlg::OnPlaneChange() {
    const std::wstring text = m_planeEdit.GetWindowTextString();
    wchar_t* rest = nullptr;
    const double height = std::wcstod(text.c_str(), &rest);
    if (text.empty() || text.back() == L'.' || (*rest == 0 && height == m_planeHeight))
        m_planeEdit.SetModify(FALSE);
    else
        m_planeHeight = height;
}

void SolxRenderDlg::OnHScroll(UINT, UINT, CScrollBar* bar) {
    if (!bar) return;
    if (bar->m_hWnd == m_timeSlider.m_hWnd) {
        m_minute = m_timeSlider.GetPos();
        ShowTime(m_timeEdit, m_minute);
        m_timeEdit.SetModify(FALSE);
        ApplySun();
    } else if (bar->m_hWnd == m_planeSlider.m_hWnd) {
        m_planeHeight = m_planeSlider.GetPos();
        m_view.m_planeHeight = m_planeHeight;
        m_planeEdit.SetWindowText(NumberText(m_view.m_planeHeight).c_str());
        m_planeEdit.SetModify(FALSE);
        m_view.Refresh();
    }
}

void SolxRenderDlg::OnDateChanged() {
    SYSTEMTIME day{};
    m_dateCtrl.GetTime(&day);
    g_SunDataSet.m_date.SetDate(day.wYear, day.wMonth, day.wDay);
    m_comboTerm.SetCurSel(g_SunDataSet.m_date.GetSTermIndex());
    ApplySun();
}

void SolxRenderDlg::OnTermChanged() {
    const int term = m_comboTerm.GetCurSel();
    if (term < 0) return;
    const int year = g_SunDataSet.m_date.GetYear();
    const SolxDate termDate = g_SunDataSet.m_date.GetTermDate(term);
    g_SunDataSet.m_date.SetDate(year, termDate.GetMonth(), termDate.GetDay());
    SYSTEMTIME day{};
    day.wYear = static_cast<WORD>(year);
    day.wMonth = static_cast<WORD>(g_SunDataSet.m_date.GetMonth());
    day.wDay = static_cast<WORD>(g_SunDataSet.m_date.GetDay());
    m_dateCtrl.SetTime(&day);
    ApplySun();
}

void SolxRenderDlg::OnPlaneShadows() {
    if (!m_view.m_faceShadow) return;
    Enable(*this, kPlaneSlider, true);
    Enable(*this, kPlaneEdit, true);
    m_view.m_faceShadow = false;
    m_view.Refresh();
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const int faces = m_view.m_faceCount;
    CString caption;
    caption.Format(VxUtLangText(L"建筑模型平面分析(共%d面)"), faces);
    SetWindowText(caption);
    CWnd* bar = GetDlgItem(kBar);
    if (bar) {
        bar->m_hWnd->rangeMin = 0;
        bar->m_hWnd->rangeMax = faces;
        bar->m_hWnd->pos = 0;
    }
    // The dialog shows no clock of its own here: the analysis runs as soon as it is shown.
    for (int j = 0; j < faces; ++j) {
        if (acedUsrBrk()) {
            EndDialog(IDCANCEL);
            return TRUE;
        }
        m_view.DecideColumn(j);
        ++m_decided;
        if (bar) bar->m_hWnd->pos = j + 1;
    }
    EndDialog(IDOK);
    return TRUE;
}

void SolxRenderDlg::AnalyseRelations() {
    CProgressDlg progress(m_view, this);
    const auto result = progress.DoModal();
    ++m_relationAnalyses;
    // A break leaves the rest to be decided as frames need it; the next face-shadow choice
    // analyses again.
    m_relationsAnalysed = result == IDOK;
}

void SolxRenderDlg::OnFaceShadows() {
    if (m_view.m_faceShadow) return;
    if (!m_view.PrepareShadowRelations()) {
        SetChecked(*this, kPlaneShadows, true);
        SetChecked(*this, kFaceShadows, false);
        return;
    }
    if (!m_relationsAnalysed) AnalyseRelations();
    Enable(*this, kPlaneSlider, false);
    Enable(*this, kPlaneEdit, false);
    m_view.m_faceShadow = true;
    m_view.Refresh();
}

void SolxRenderDlg::OnShowRoofs() {
    m_view.m_showModelFaces = IsChecked(*this, kRoofs);
    m_view.Refresh();
}

void SolxRenderDlg::OnShowBalconies() {
    m_view.m_showBalconies = IsChecked(*this, kBalconies);
    m_view.Refresh();
}

void SolxRenderDlg::OnReloadModel() {
    m_view.LoadModel();
    m_relationsAnalysed = false;
    SetPlaneRange(0, static_cast<int>(RoundHalfAway(m_view.m_topHeight)));
    if (!m_view.m_faceShadow) {
        SetChecked(*this, kPlaneShadows, true);
        SetChecked(*this, kFaceShadows, false);
    } else {
        AnalyseRelations();
    }
    m_planeEdit.SetModify(TRUE);
    CheckEdits(true);
    m_view.Refresh();
}

void SolxRenderDlg::OnDefaultView() {
    m_view.DefaultView();
}

void SolxRenderDlg::StopAnimation() {
    KillTimer(kAnimationTimer);
    m_playing = false;
    m_playButton.SetWindowText(VxUtLangText(L"播放"));
    Enable(*this, kAutoRecord, true);
    Enable(*this, kRecordOptions, true);
    SetWindowText(VxUtLangText(L"日照仿真"));
}

BOOL CRenderOptDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(2036, g_sRecordFile.c_str());
    if (CWnd* browse = GetDlgItem(2037)) browse->EnableWindow(FALSE);  // no file dialog here
    return TRUE;
}

void CRenderOptDlg::OnOK() {
    m_path = GetDlgItemTextString(2036);
    g_sRecordFile = m_path;
    EndDialog(IDOK);
}

void SolxRenderDlg::OnRecordOptions() {
    CRenderOptDlg options(this);
    if (options.DoModal() == IDOK) m_recordPath = options.m_path;
}

namespace {

// Nearest-pixel stretch of RGB rows from w x h to width x height.
std::vector<std::uint8_t> Stretch(const std::vector<std::uint8_t>& rgb, int w, int h, int width,
                                  int height) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * h / height);
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>(static_cast<long long>(x) * w / width);
            const std::uint8_t* p = &rgb[(static_cast<std::size_t>(sy) * w + sx) * 3];
            std::uint8_t* q = &out[(static_cast<std::size_t>(y) * width + x) * 3];
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
        }
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> SolxRenderDlg::GrabFrame(int width, int height) {
    if (m_view.NeedsPaint()) m_view.Paint();
    std::vector<std::uint8_t> rgb = m_view.Context()->ReadPixels();
    int w = m_view.Context()->Width(), h = m_view.Context()->Height();
    if (rgb.size() != static_cast<std::size_t>(w) * h * 3) return rgb;
    if (width > 0 && height > 0 && (width != w || height != h)) {
        rgb = Stretch(rgb, w, h, width, height);
        w = width;
        h = height;
    }
    // The time text in red over the picture, drawn by cairo on a copy in its pixel layout.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    cairo_surface_flush(surface);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            auto* q =
                reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride) +
                x;
            *q = static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 |
                 p[2];
        }
    cairo_surface_mark_dirty(surface);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 20);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    cairo_move_to(cr, 2, font.ascent);
    cairo_show_text(cr, solx::win::WideToUtf8(GetDlgItemTextString(kTime)).c_str());
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(
                data + static_cast<std::ptrdiff_t>(y) * stride)[x];
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = static_cast<std::uint8_t>(v >> 16);
            p[1] = static_cast<std::uint8_t>(v >> 8);
            p[2] = static_cast<std::uint8_t>(v);
        }
    cairo_surface_destroy(surface);
    return rgb;
}

void SolxRenderDlg::StartRecording() {
    m_recorder = std::make_unique<SolxAVIFile>();
    m_recorder->SetSaveOptionsParentWnd(this);
    m_recorder->SetHasSaveOptionsDialog(0);
    m_recorder->SetColorNum(m_colourCount);
    m_frameWidth = m_view.Context()->Width();
    m_frameHeight = m_view.Context()->Height();
    const bool ok = m_recorder->Init(m_recordPath, m_frameWidth, m_frameHeight, m_recordRate) &&
                    m_recorder->AddFrame(GrabFrame(m_frameWidth, m_frameHeight)) &&
                    m_recorder->Status();
    if (!ok) {
        SetWindowText(VxUtLangText(L"日照仿真(无法自动录像，请关闭动画后检查录像设置!)"));
        m_recorder.reset();
        return;
    }
    std::wstring caption = VxUtLangText(L"日照仿真(正在录像:%s，录像过程中请保证本窗口始终显示!)");
    if (const auto at = caption.find(L"%s"); at != std::wstring::npos)
        caption.replace(at, 2, m_recordPath);
    SetWindowText(caption.c_str());
}

void SolxRenderDlg::OnPlay() {
    m_recorder.reset();  // finishes the film of the last run
    if (m_playing) {
        StopAnimation();
        return;
    }
    if (!CheckEdits(true)) return;
    if (IsChecked(*this, kAutoRecord)) StartRecording();
    m_playButton.SetWindowText(VxUtLangText(L"停止"));
    SetTimer(kAnimationTimer, 1000);
    m_playing = true;
    Enable(*this, kAutoRecord, false);
    Enable(*this, kRecordOptions, false);
}

void SolxRenderDlg::OnTimer(UINT_PTR id) {
    if (id == kPollTimer) {
        if (AnyEditModified()) {
            m_silentCheck = true;
            CheckEdits(true);
        }
        return;
    }
    if (id != kAnimationTimer || !m_playing) return;
    const std::wstring stepText = m_stepEdit.GetWindowTextString();
    const int step = std::max(1, static_cast<int>(std::wcstol(stepText.c_str(), nullptr, 10)));
    int position = m_timeSlider.GetPos() + step;
    if (position >= m_endMinute) {
        StopAnimation();
        position = m_endMinute;
    }
    m_timeSlider.SetPos(position);
    m_minute = position;
    ShowTime(m_timeEdit, m_minute);
    m_timeEdit.SetModify(FALSE);
    ApplySun();
    m_view.Paint();
    if (m_recorder) {
        m_recorder->AddFrame(GrabFrame(m_frameWidth, m_frameHeight));
        if (!m_playing) m_recorder.reset();
    }
}

LRESULT SolxRenderDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SOLX_SNAPSHOT) {
        auto* request = reinterpret_cast<SolxSnapshotRequest*>(lParam);
        std::string error;
        request->handled = true;
        if (!m_view.SaveFrame(solx::win::WideToUtf8(request->path), error))
            request->error = solx::win::Utf8ToWide(error);
        return 1;
    }
    if (message == WM_SIZE) {
        if (wParam != SIZE_MINIMIZED) OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    if (message == WM_KEYDOWN && wParam >= SolxSample::kKeyLeft && wParam <= SolxSample::kKeyDown) {
        // Arrow keys move the camera whichever control has the focus (the repeat count in the
        // low word of lParam). A window that knows Shift and Ctrl calls the view's OnKeyDown.
        m_view.OnKeyDown(static_cast<int>(wParam), LOWORD(lParam), false, false);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void SolxRenderDlg::OnCancel() {
    // Close and Escape: the window goes and the object with it, once the message is done.
    DestroyWindow();
    solx::ui::DeleteModelessLater(this);
}

void SolxRenderDlg::OnDestroy() {
    m_recorder.reset();  // a film cut short is finished and playable
    if (m_playing) KillTimer(kAnimationTimer);
    KillTimer(kPollTimer);
    m_playing = false;
    solx::ui::RemoveModelessWindow(this);
    if (g_renderDlg == this) g_renderDlg = nullptr;
    CDialog::OnDestroy();
}
