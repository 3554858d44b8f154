#include "Win32NistWindow.h"

#include "platform/CodePage.h"
#include "service/Errors.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace moru::components::win32 {

using namespace moru::service;

namespace {

const wchar_t kClassName[] = L"MoruNistData";

enum ControlId {
    kCompounds = 200,
    kGroup,
    kPropertiesLabel,
    kProperties,
    kActionLabel,
    kAction,
    kValuesLabel,
    kValues,
    kRun,
    kDefaultProperty,
    kResultsLabel,
    kResults
};

constexpr int kWidth = 360, kHeight = 260, kMinimumWidth = 280, kMinimumHeight = 200;

std::wstring Wide(const std::string& text) { return platform::Utf8ToWide(text); }

std::wstring Numbers(const OptionalList<double>& list)
{
    if (!list) return L"not given";
    std::wstring text = L"[";
    for (std::size_t i = 0; i < list->size(); ++i) {
        wchar_t number[32];
        std::swprintf(number, 32, L"%g", (*list)[i]);
        text += (i ? L", " : L"") + std::wstring(number);
    }
    return text + L"]";
}

std::wstring Number(double value)
{
    wchar_t number[32];
    std::swprintf(number, 32, L"%g", value);
    return number;
}

void Place(HWND control, int x, int y, int width, int height)
{
    MoveWindow(control, x, y, std::max(0, width), std::max(0, height), FALSE);
}

ServiceError ScriptError(const ScriptStep& step, const std::string& what)
{
    return ServiceError("script line " + std::to_string(step.line) + ": " + what);
}

} // namespace

const std::vector<std::pair<int, const wchar_t*>>& NistDialogBox::Actions()
{
    static const std::vector<std::pair<int, const wchar_t*>> actions = [] {
        std::vector<std::pair<int, const wchar_t*>> made = {
            {4, L"Send the selected properties"},
            {5, L"Help"},
            {6, L"Show the data sets"},
            {7, L"Show the report"},
            {8, L"Evaluate at one point"},
            {102, L"Re-evaluate the selected properties"},
            {103, L"Re-evaluate with the values"},
        };
        for (int code = 104; code <= 119; ++code) made.emplace_back(code, L"Evaluate the selected properties");
        for (int code = 121; code <= 139; ++code)
            made.emplace_back(code, L"Fit the selected properties to the parameter set");
        made.insert(made.end(), {{150, L"Fit with two parameters"},
                                 {151, L"Show the fitting"},
                                 {152, L"Fit the mixture with two parameters"},
                                 {153, L"Show the mixture fitting"},
                                 {160, L"Test consistency"}});
        for (int code = 171; code <= 175; ++code) made.emplace_back(code, L"Consistency test");
        made.emplace_back(-999, L"Cancel the evaluation");
        return made;
    }();
    return actions;
}

NistDialogBox::NistDialogBox(std::shared_ptr<INISTDataLauncher> launcher, std::optional<Script> script)
    : m_launcher(std::move(launcher)), m_script(std::move(script))
{}

NistDialogBox::~NistDialogBox() { Destroy(); }

void NistDialogBox::Destroy()
{
    if (!m_window) return;
    UnregisterDialogWindow(m_window);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    DestroyWindow(m_window);
    m_window = nullptr;
}

void NistDialogBox::Launch(bool mixture)
{
    Destroy(); // a second launch of the same box shows it afresh
    m_mixture = mixture;
    // Only while the window is made and played: the host's own code runs outside our context.
    const VisualStyles styles;
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &NistDialogBox::Procedure;
        windowClass.hInstance = ModuleInstance();
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered) throw ServiceError("the NIST window's class cannot be registered");

    // The host's window, when it names one, owns ours, so ours stays in front of it.
    const std::wstring className = Wide(m_launcher->GetClassName().value_or(""));
    const std::wstring windowName = Wide(m_launcher->GetWindowName().value_or(""));
    HWND owner = className.empty() && windowName.empty()
                     ? nullptr
                     : FindWindowW(className.empty() ? nullptr : className.c_str(),
                                   windowName.empty() ? nullptr : windowName.c_str());
    const std::wstring title =
        windowName.empty() ? L"NIST ThermoData Engine" : windowName + L" - NIST ThermoData Engine";

    const auto& units = SystemDialogUnits();
    RECT frame{0, 0, units.X(kWidth), units.Y(kHeight)};
    const DWORD style = WS_OVERLAPPEDWINDOW;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    m_window = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, title.c_str(), style,
                               std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2),
                               std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2), width, height, owner, nullptr,
                               ModuleInstance(), this);
    if (!m_window) throw ServiceError("the NIST window cannot be created");
    try {
        Build();
    } catch (...) {
        Destroy();
        throw;
    }
    RegisterDialogWindow(m_window);
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    SetFocus(m_properties);
    UpdateWindow(m_window);
    if (m_script) Play(*m_script);
}

LRESULT CALLBACK NistDialogBox::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<NistDialogBox*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
    }
    auto* self = reinterpret_cast<NistDialogBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& error) {
        self->Append(L"Failed: " + Wide(error.what()));
        return 0;
    }
}

void NistDialogBox::Build()
{
    std::wstring compounds = L"Compound: " + Wide(m_launcher->GetCompoundName().value_or(""));
    if (m_mixture)
        compounds = L"Mixture of " + Wide(m_launcher->GetCompoundName().value_or("")) + L" and " +
                    Wide(m_launcher->GetCompoundName2().value_or(""));
    m_compounds = MakeControl(m_window, L"STATIC", compounds, SS_LEFT | SS_ENDELLIPSIS, kCompounds);
    m_group = MakeControl(m_window, L"BUTTON", m_mixture ? L"Mixture" : L"Pure", BS_GROUPBOX, kGroup);
    m_propertiesLabel = MakeControl(m_window, L"STATIC", L"&Properties:", SS_LEFT, kPropertiesLabel);
    m_properties = MakeControl(m_window, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, kProperties,
                               WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(m_properties, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const auto& units = SystemDialogUnits();
    const std::pair<const wchar_t*, int> columns[] = {{L"Property", 120}, {L"Unit", 50}, {L"Points", 40}};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW spec{};
        spec.mask = LVCF_TEXT | LVCF_WIDTH;
        spec.cx = units.X(columns[column].second);
        spec.pszText = const_cast<wchar_t*>(columns[column].first);
        ListView_InsertColumn(m_properties, column, &spec);
    }
    auto addRow = [&](const std::string& name, const std::string& unit, int points) {
        std::wstring cells[] = {Wide(name), Wide(unit), std::to_wstring(points)};
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = ListView_GetItemCount(m_properties);
        for (int column = 0; column < 3; ++column) {
            item.iSubItem = column;
            item.pszText = cells[column].data();
            if (column == 0) item.iItem = ListView_InsertItem(m_properties, &item);
            else ListView_SetItem(m_properties, &item);
        }
    };
    if (m_mixture) {
        NISTMixPropListPtr list;
        m_launcher->GetNISTMixPropList(list);
        if (list)
            for (const auto& record : *list) addRow(record.desProp, record.propUnit, record.expNumMix);
    } else {
        NISTPropListPtr list;
        m_launcher->GetNISTPropList(list);
        if (list)
            for (const auto& record : *list)
                addRow(record.propName, record.propUnit, record.expNum + record.evalNum + record.calcNum);
    }
    m_actionLabel = MakeControl(m_window, L"STATIC", L"&Action:", SS_LEFT, kActionLabel);
    // Editable, so that a code the list does not name can be typed.
    m_action =
        MakeControl(m_window, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, kAction);
    for (const auto& [code, name] : Actions()) {
        const std::wstring entry = std::to_wstring(code) + L"  " + name;
        SendMessageW(m_action, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SendMessageW(m_action, CB_SETCURSEL, 0, 0);
    m_valuesLabel = MakeControl(m_window, L"STATIC", L"&Values:", SS_LEFT, kValuesLabel);
    m_values = MakeControl(m_window, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kValues, WS_EX_CLIENTEDGE);
    m_run = MakeControl(m_window, L"BUTTON", L"&Run", WS_TABSTOP | BS_DEFPUSHBUTTON, kRun);
    m_defaultProperty =
        MakeControl(m_window, L"STATIC", L"Default property: none", SS_LEFT | SS_ENDELLIPSIS, kDefaultProperty);
    m_resultsLabel = MakeControl(m_window, L"STATIC", L"Res&ults:", SS_LEFT, kResultsLabel);
    m_results =
        MakeControl(m_window, L"EDIT", L"", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                    kResults, WS_EX_CLIENTEDGE);
    m_close = MakeControl(m_window, L"BUTTON", L"Close", WS_TABSTOP, IDCANCEL);
    SetWindowPos(m_group, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); // beneath what it frames
    Layout();
}

void NistDialogBox::Layout()
{
    const auto& u = SystemDialogUnits();
    RECT client{};
    GetClientRect(m_window, &client);
    const int width = client.right, height = client.bottom;
    const int margin = u.X(7), top = u.Y(7), buttonWidth = u.X(50), buttonHeight = u.Y(14), gap = u.X(4),
              label = u.Y(8);
    const int line = u.Y(12);
    Place(m_compounds, margin, top, width - 2 * margin, label);
    const int groupTop = top + label + u.Y(4);
    const int buttonsY = height - u.Y(7) - buttonHeight;
    Place(m_close, width - margin - buttonWidth, buttonsY, buttonWidth, buttonHeight);
    const int groupBottom = buttonsY - u.Y(4);
    Place(m_group, margin, groupTop, width - 2 * margin, groupBottom - groupTop);
    const int left = margin + u.X(6), right = width - margin - u.X(6);
    int y = groupTop + u.Y(12);
    const int inner = groupBottom - u.Y(6) - y;
    const int propertiesHeight = std::max(u.Y(30), inner * 2 / 5);
    Place(m_propertiesLabel, left, y, right - left, label);
    y += label + u.Y(2);
    Place(m_properties, left, y, right - left, propertiesHeight);
    y += propertiesHeight + u.Y(4);
    const int labelWidth = u.X(28), valuesWidth = u.X(70);
    Place(m_actionLabel, left, y + u.Y(2), labelWidth, label);
    Place(m_run, right - buttonWidth, y, buttonWidth, buttonHeight);
    Place(m_values, right - buttonWidth - gap - valuesWidth, y, valuesWidth, line);
    Place(m_valuesLabel, right - buttonWidth - 2 * gap - valuesWidth - u.X(26), y + u.Y(2), u.X(26), label);
    Place(m_action, left + labelWidth, y, right - buttonWidth - 3 * gap - valuesWidth - u.X(26) - left - labelWidth,
          u.Y(120));
    y += buttonHeight + u.Y(4);
    Place(m_defaultProperty, left, y, right - left, label);
    y += label + u.Y(3);
    Place(m_resultsLabel, left, y, right - left, label);
    y += label + u.Y(2);
    Place(m_results, left, y, right - left, groupBottom - u.Y(6) - y);
    InvalidateRect(m_window, nullptr, TRUE);
}

void NistDialogBox::Run()
{
    std::vector<std::optional<std::string>> names;
    for (int row = ListView_GetNextItem(m_properties, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_properties, row, LVNI_SELECTED)) {
        wchar_t text[512] = L"";
        ListView_GetItemText(m_properties, row, 0, text, 512);
        names.emplace_back(platform::WideToUtf8(text));
    }
    std::vector<DialogValue> values;
    const std::string typed = platform::WideToUtf8(WindowText(m_values));
    if (typed.find_first_not_of(" \t") != std::string::npos) {
        std::istringstream stream(typed);
        for (std::string value; std::getline(stream, value, ',');) {
            const auto first = value.find_first_not_of(" \t"), last = value.find_last_not_of(" \t");
            values.push_back(ParseDialogValue(first == std::string::npos ? "" : value.substr(first, last - first + 1)));
        }
    }
    // The code leads the action's text; a typed code stands alone.
    const std::wstring action = WindowText(m_action);
    wchar_t* end = nullptr;
    const long code = std::wcstol(action.c_str(), &end, 10);
    if (end == action.c_str()) {
        Append(L"Choose an action, or type its code.");
        return;
    }
    const std::string title = platform::WideToUtf8(WindowText(m_window));
    m_launcher->ButtonClicked(title, names, m_mixture ? "Mixture" : "Pure", values, static_cast<std::int32_t>(code));
}

void NistDialogBox::Append(const std::wstring& line)
{
    if (!m_results) return;
    const int length = GetWindowTextLengthW(m_results);
    SendMessageW(m_results, EM_SETSEL, static_cast<WPARAM>(length), length);
    const std::wstring text = (length > 0 ? L"\r\n" : L"") + line;
    SendMessageW(m_results, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT NistDialogBox::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (m_close) Layout();
        return 0;
    case WM_GETMINMAXINFO: {
        const auto& u = SystemDialogUnits();
        RECT minimum{0, 0, u.X(kMinimumWidth), u.Y(kMinimumHeight)};
        AdjustWindowRectEx(&minimum, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CONTROLPARENT);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum.right - minimum.left,
                                                                 minimum.bottom - minimum.top};
        return 0;
    }
    case WM_EXITSIZEMOVE: {
        RECT frame{};
        GetWindowRect(m_window, &frame);
        m_launcher->MoruTEDResultFormResize(frame.right - frame.left, frame.bottom - frame.top);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kRun) Run();
        else if (LOWORD(wParam) == IDCANCEL) Destroy();
        return 0;
    case WM_CLOSE: Destroy(); return 0;
    default: return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

// ---- what the host pushes back ------------------------------------------------------------------

void NistDialogBox::PushParaCitation(const std::string& desPara, const std::string& citationIndex,
                                     const std::string& citation)
{
    Append(L"Citation " + Wide(citationIndex) + L" of " + Wide(desPara) + L": " + Wide(citation));
}

void NistDialogBox::PushParaReeval(std::int32_t TDERevalTpoint, const OptionalList<double>& reevalx,
                                   const OptionalList<double>& reevaly)
{
    Append(L"Re-evaluated at " + std::to_wstring(TDERevalTpoint) + L" points: x " + Numbers(reevalx) + L", y " +
           Numbers(reevaly));
}

void NistDialogBox::PushParaFitting(std::int32_t Fitting, const std::string& desProp, std::int32_t numExpMix,
                                    const OptionalList<double>& CalValue, const OptionalList<double>& CalX1,
                                    const OptionalList<double>& CalTemp, const OptionalList<double>& CalPres)
{
    Append(L"Fitting " + std::to_wstring(Fitting) + L" of " + Wide(desProp) + L", " + std::to_wstring(numExpMix) +
           L" points: values " + Numbers(CalValue) + L", x1 " + Numbers(CalX1) + L", T " + Numbers(CalTemp) + L", P " +
           Numbers(CalPres));
}

void NistDialogBox::PushPropConsistencyTestBack(const std::string& desProp, double t0VLEQuality,
                                                const OptionalList<double>& t1Herington,
                                                const OptionalList<double>& t2VanNess,
                                                const OptionalList<double>& t3Point,
                                                const OptionalList<double>& t4Infinite)
{
    Append(L"Consistency of " + Wide(desProp) + L": quality " + Number(t0VLEQuality) + L", Herington " +
           Numbers(t1Herington) + L", Van Ness " + Numbers(t2VanNess) + L", point " + Numbers(t3Point) +
           L", infinite dilution " + Numbers(t4Infinite));
}

void NistDialogBox::PushPropDRSDefaultPropertyBack(const std::string& DRSDefaultProperty)
{
    if (m_defaultProperty)
        SetWindowTextW(m_defaultProperty, (L"Default property: " + Wide(DRSDefaultProperty)).c_str());
    Append(L"Default property: " + Wide(DRSDefaultProperty));
}

void NistDialogBox::MoruTEDResultFormResize(double x, double y)
{
    if (!m_window || !(x > 0) || !(y > 0) || x > 100000 || y > 100000) return;
    // The host's sizes are pixels at 96 dots per inch; ours follow the system's.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    SetWindowPos(m_window, nullptr, 0, 0, MulDiv(static_cast<int>(x), dpi, 96), MulDiv(static_cast<int>(y), dpi, 96),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Append(L"Result form resized to " + Number(x) + L" by " + Number(y));
}

void NistDialogBox::OnCloseTDEDialog()
{
    if (!m_window) return;
    SaveScreenshot(m_window, m_mixture ? "nist-mixture" : "nist-pure");
    Destroy();
}

// ---- the script's person ------------------------------------------------------------------------

void NistDialogBox::PlayClick(const ScriptStep& step)
{
    // Select exactly the named properties: click the first, Ctrl+click the others and any other
    // selected row to clear it.
    const int count = ListView_GetItemCount(m_properties);
    std::vector<int> wanted;
    for (const auto& name : step.propNames) {
        int found = -1;
        for (int row = 0; row < count && found < 0; ++row) {
            wchar_t text[512] = L"";
            ListView_GetItemText(m_properties, row, 0, text, 512);
            if (name && platform::WideToUtf8(text) == *name) found = row;
        }
        if (found < 0) throw ScriptError(step, "the window lists no property " + name.value_or(""));
        wanted.push_back(found);
    }
    auto clickRow = [&](int row, bool withControl) {
        ListView_EnsureVisible(m_properties, row, FALSE);
        RECT item{};
        item.left = LVIR_LABEL;
        SendMessageW(m_properties, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        ClickAt(m_properties, {item.left + 4, (item.top + item.bottom) / 2}, withControl);
    };
    for (std::size_t i = 0; i < wanted.size(); ++i) clickRow(wanted[i], i > 0);
    for (int row = 0; row < count; ++row) {
        const bool selected = ListView_GetItemState(m_properties, row, LVIS_SELECTED) != 0;
        if (selected != (std::find(wanted.begin(), wanted.end(), row) != wanted.end())) clickRow(row, true);
    }

    std::string values;
    for (const auto& value : step.values) {
        if (!values.empty()) values += ", ";
        if (const auto* text = std::get_if<std::string>(&value)) values += *text;
        else if (const auto* whole = std::get_if<std::int32_t>(&value)) values += std::to_string(*whole);
        else if (const auto* number = std::get_if<double>(&value)) {
            char formatted[32];
            std::snprintf(formatted, sizeof formatted, "%.17g", *number);
            values += formatted;
        }
    }
    auto replaceText = [](HWND control, const std::string& text) {
        Click(control);
        PressKey("home");
        PressKey("shift+end");
        if (text.empty()) PressKey("delete");
        else TypeText(platform::Utf8ToWide(text));
    };
    replaceText(m_values, values);
    HWND actionEdit = FindWindowExW(m_action, nullptr, L"EDIT", nullptr);
    replaceText(actionEdit ? actionEdit : m_action, std::to_string(step.code));
    Click(m_run);
}

void NistDialogBox::Play(const Script& script)
{
    PumpUntilIdle();
    for (const auto& step : script) {
        if (!m_window) break;
        if (step.verb == "click") PlayClick(step);
        else if (step.verb == "resize") {
            const auto x = ParseDialogValue(step.arguments[0]), y = ParseDialogValue(step.arguments[1]);
            auto number = [](const DialogValue& value) {
                if (const auto* whole = std::get_if<std::int32_t>(&value)) return static_cast<double>(*whole);
                return std::get<double>(value); // the parser let only numbers through
            };
            // As a person's drag ends: the window takes the size, then the launcher hears of it.
            SetWindowPos(m_window, nullptr, 0, 0, static_cast<int>(number(x)), static_cast<int>(number(y)),
                         SWP_NOMOVE | SWP_NOZORDER);
            PumpUntilIdle();
            m_launcher->MoruTEDResultFormResize(number(x), number(y));
        } else if (step.verb == "type") TypeText(platform::Utf8ToWide(step.text));
        else if (step.verb == "key")
            for (const auto& key : step.arguments) PressKey(key);
        else if (step.verb == "shot") SaveScreenshot(m_window, step.text);
    }
}

} // namespace moru::components::win32
