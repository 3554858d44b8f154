#include "Win32FindWindow.h"

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "service/Errors.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

namespace moru::components::win32 {

using namespace moru::service;

namespace {

const wchar_t kClassName[] = L"MoruFindCompounds";

enum ControlId {
    kTabs = 100,
    kFindLabel,
    kSearchBox,
    kTypeLabel,
    kTypeBox,
    kSearchButton,
    kStatus,
    kResults,
    kPickButton,
    kChosenLabel,
    kChosenList,
    kAddButton,
    kSelectedLabel,
    kSelectedList,
    kAvailableLabel,
    kAvailableList,
    kToSelected,
    kToAvailable,
};

// Sizes in dialog units.
constexpr int kMargin = 7, kButtonWidth = 50, kButtonHeight = 14, kLineHeight = 12, kGap = 4;
constexpr int kWidth = 470, kHeight = 290, kMinimumWidth = 330, kMinimumHeight = 220;

struct ColumnSpec {
    const wchar_t* title;
    int width; // dialog units
    bool number;
};
const ColumnSpec kColumns[kFindColumnCount] = {
    {L"Name", 70, false},       {L"Alias", 40, false},        {L"CAS number", 45, false},
    {L"Formula", 40, false},    {L"Class", 35, false},        {L"Matched synonym", 55, false},
    {L"Mol. weight", 40, true}, {L"Boiling point", 45, true}, {L"Databank", 50, false},
};

std::wstring Wide(const std::string& text) { return platform::Utf8ToWide(text); }

int ListCount(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

std::vector<int> ListSelection(HWND list)
{
    const int count = static_cast<int>(SendMessageW(list, LB_GETSELCOUNT, 0, 0));
    std::vector<int> items(static_cast<std::size_t>(std::max(0, count)));
    if (count > 0)
        SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(items.data()));
    return items;
}

void FillList(HWND list, const std::vector<std::string>& items)
{
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const auto& item : items) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
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

FindWindow::FindWindow(std::shared_ptr<IFindCompoundLauncher> launcher) : m_model(std::move(launcher))
{
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &FindWindow::Procedure;
        windowClass.hInstance = ModuleInstance();
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered) throw ServiceError("the find window's class cannot be registered");

    const auto& units = SystemDialogUnits();
    RECT frame{0, 0, units.X(kWidth), units.Y(kHeight)};
    const DWORD style = WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    m_owner = GetActiveWindow();
    const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    m_window = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, kClassName, L"Find Compounds", style, x, y,
                               width, height, m_owner, nullptr, ModuleInstance(), this);
    if (!m_window) throw ServiceError("the find window cannot be created");
    try {
        Build();
    } catch (...) {
        DestroyWindow(m_window);
        throw;
    }
    RegisterDialogWindow(m_window);
    if (m_owner) EnableWindow(m_owner, FALSE);
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    SetFocus(m_searchBox);
    SendMessageW(m_searchBox, EM_SETSEL, 0, -1);
    UpdateWindow(m_window);
}

FindWindow::~FindWindow()
{
    if (m_window) {
        UnregisterDialogWindow(m_window);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        if (m_owner) EnableWindow(m_owner, TRUE);
        DestroyWindow(m_window);
    }
}

LRESULT CALLBACK FindWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FindWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
    }
    auto* self = reinterpret_cast<FindWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& error) {
        // A failure of the service while the person acts: say so and keep the window usable. A
        // script has nobody to read it: the window closes and the launch fails with the reason.
        if (self->m_playing) {
            self->m_failure = error.what();
            self->Close();
        } else {
            MessageBoxW(window, Wide(error.what()).c_str(), L"Find Compounds", MB_OK | MB_ICONWARNING);
        }
        return 0;
    }
}

void FindWindow::Build()
{
    auto page = [](std::vector<HWND>& list, HWND control) {
        list.push_back(control);
        return control;
    };
    m_tabs = MakeControl(m_window, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, kTabs);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Search");
    TabCtrl_InsertItem(m_tabs, 0, &item);
    if (m_model.ShowsDatabanksTab()) {
        item.pszText = const_cast<wchar_t*>(L"Databanks");
        TabCtrl_InsertItem(m_tabs, 1, &item);
    }

    m_findLabel = page(m_searchPage, MakeControl(m_window, L"STATIC", L"&Find:", SS_LEFT, kFindLabel));
    m_searchBox = page(m_searchPage, MakeControl(m_window, L"EDIT", Wide(m_model.InitialSearchString()),
                                                 WS_TABSTOP | ES_AUTOHSCROLL, kSearchBox, WS_EX_CLIENTEDGE));
    m_typeLabel = page(m_searchPage, MakeControl(m_window, L"STATIC", L"&By:", SS_LEFT, kTypeLabel));
    m_typeBox = page(m_searchPage,
                     MakeControl(m_window, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kTypeBox));
    for (const auto& type : m_model.IdentifierTypes()) {
        const std::wstring label = type.empty() ? L"Any identifier" : Wide(type);
        SendMessageW(m_typeBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    }
    SendMessageW(m_typeBox, CB_SETCURSEL, 0, 0);
    m_searchButton =
        page(m_searchPage, MakeControl(m_window, L"BUTTON", L"&Search", WS_TABSTOP | BS_DEFPUSHBUTTON, kSearchButton));
    m_status = page(m_searchPage, MakeControl(m_window, L"STATIC", L"", SS_LEFT | SS_ENDELLIPSIS, kStatus));
    m_results = page(m_searchPage, MakeControl(m_window, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                                               kResults, WS_EX_CLIENTEDGE));
    ListView_SetExtendedListViewStyle(m_results, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
    const auto& units = SystemDialogUnits();
    for (int column = 0; column < kFindColumnCount; ++column) {
        LVCOLUMNW spec{};
        spec.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        spec.fmt = kColumns[column].number ? LVCFMT_RIGHT : LVCFMT_LEFT;
        spec.cx = units.X(kColumns[column].width);
        spec.pszText = const_cast<wchar_t*>(kColumns[column].title);
        ListView_InsertColumn(m_results, column, &spec);
    }
    m_pickButton = page(m_searchPage, MakeControl(m_window, L"BUTTON", L"&Pick", WS_TABSTOP, kPickButton));
    m_chosenLabel = page(m_searchPage, MakeControl(m_window, L"STATIC", L"C&hosen to add:", SS_LEFT, kChosenLabel));
    m_chosenList = page(m_searchPage,
                        MakeControl(m_window, L"LISTBOX", L"",
                                    WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
                                    kChosenList, WS_EX_CLIENTEDGE));

    const DWORD modify = m_model.CanModifyDatabankLists() ? 0 : WS_DISABLED;
    m_selectedLabel =
        page(m_databanksPage, MakeControl(m_window, L"STATIC", L"Se&lected databanks:", SS_LEFT, kSelectedLabel));
    m_selectedList =
        page(m_databanksPage, MakeControl(m_window, L"LISTBOX", L"",
                                          WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
                                          kSelectedList, WS_EX_CLIENTEDGE));
    m_toSelected =
        page(m_databanksPage, MakeControl(m_window, L"BUTTON", L"< S&elect", WS_TABSTOP | modify, kToSelected));
    m_toAvailable =
        page(m_databanksPage, MakeControl(m_window, L"BUTTON", L"&Remove >", WS_TABSTOP | modify, kToAvailable));
    m_availableLabel =
        page(m_databanksPage, MakeControl(m_window, L"STATIC", L"A&vailable databanks:", SS_LEFT, kAvailableLabel));
    m_availableList =
        page(m_databanksPage, MakeControl(m_window, L"LISTBOX", L"",
                                          WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
                                          kAvailableList, WS_EX_CLIENTEDGE));
    FillDatabanks();

    m_addButton = MakeControl(m_window, L"BUTTON", L"&Add", WS_TABSTOP, kAddButton);
    m_helpButton = MakeControl(m_window, L"BUTTON", L"Help", WS_TABSTOP, IDHELP);
    m_closeButton = MakeControl(m_window, L"BUTTON", L"Close", WS_TABSTOP, IDCANCEL);
    FillChosen();
    // Beneath the pages' controls, so that clicks on them reach them; last in the Tab order.
    SetWindowPos(m_tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowTab(0);
    Layout();
}

void FindWindow::Layout()
{
    const auto& u = SystemDialogUnits();
    RECT client{};
    GetClientRect(m_window, &client);
    const int width = client.right, height = client.bottom;
    const int margin = u.X(kMargin), buttonWidth = u.X(kButtonWidth), buttonHeight = u.Y(kButtonHeight);
    const int gapX = u.X(kGap), gapY = u.Y(kGap), line = u.Y(kLineHeight), label = u.Y(8);

    const int buttonsY = height - u.Y(kMargin) - buttonHeight;
    Place(m_closeButton, width - margin - buttonWidth, buttonsY, buttonWidth, buttonHeight);
    Place(m_helpButton, width - margin - 2 * buttonWidth - gapX, buttonsY, buttonWidth, buttonHeight);
    Place(m_addButton, width - margin - 3 * buttonWidth - 2 * gapX, buttonsY, buttonWidth, buttonHeight);

    RECT pageArea{margin, u.Y(kMargin), width - margin, buttonsY - u.Y(kMargin)};
    Place(m_tabs, pageArea.left, pageArea.top, pageArea.right - pageArea.left, pageArea.bottom - pageArea.top);
    TabCtrl_AdjustRect(m_tabs, FALSE, &pageArea);
    InflateRect(&pageArea, -u.X(3), -u.Y(3));
    const int left = pageArea.left, right = pageArea.right, top = pageArea.top, bottom = pageArea.bottom;

    // Search page: one line of search controls, the results, then what is chosen to add.
    const int labelWidth = u.X(22), typeLabelWidth = u.X(14), typeWidth = u.X(75);
    Place(m_findLabel, left, top + u.Y(2), labelWidth, label);
    Place(m_searchButton, right - buttonWidth, top, buttonWidth, buttonHeight);
    Place(m_typeBox, right - buttonWidth - gapX - typeWidth, top, typeWidth, u.Y(120));
    Place(m_typeLabel, right - buttonWidth - 2 * gapX - typeWidth - typeLabelWidth, top + u.Y(2), typeLabelWidth,
          label);
    Place(m_searchBox, left + labelWidth, top,
          right - buttonWidth - 3 * gapX - typeWidth - typeLabelWidth - left - labelWidth, line);
    const int statusY = top + buttonHeight + gapY;
    Place(m_status, left, statusY, right - left, label);
    const int chosenHeight = u.Y(36);
    const int pickY = bottom - chosenHeight - gapY - buttonHeight;
    const int resultsY = statusY + label + u.Y(2);
    Place(m_results, left, resultsY, right - left, pickY - gapY - resultsY);
    Place(m_pickButton, left, pickY, buttonWidth, buttonHeight);
    Place(m_chosenLabel, left + buttonWidth + gapX, pickY + u.Y(3), right - left - buttonWidth - gapX, label);
    Place(m_chosenList, left, bottom - chosenHeight, right - left, chosenHeight);

    // Databanks page: the two lists side by side, the moving buttons between them.
    const int middle = buttonWidth + 2 * gapX;
    const int listWidth = (right - left - middle) / 2;
    Place(m_selectedLabel, left, top, listWidth, label);
    Place(m_selectedList, left, top + label + u.Y(2), listWidth, bottom - top - label - u.Y(2));
    Place(m_toSelected, left + listWidth + gapX, top + label + u.Y(20), buttonWidth, buttonHeight);
    Place(m_toAvailable, left + listWidth + gapX, top + label + u.Y(20) + buttonHeight + gapY, buttonWidth,
          buttonHeight);
    Place(m_availableLabel, right - listWidth, top, listWidth, label);
    Place(m_availableList, right - listWidth, top + label + u.Y(2), listWidth, bottom - top - label - u.Y(2));
    InvalidateRect(m_window, nullptr, TRUE);
}

void FindWindow::ShowTab(int tab)
{
    if (m_tab == 1 && tab != 1) m_model.ReportSelection(); // the person is done with the databanks
    m_tab = tab;
    TabCtrl_SetCurSel(m_tabs, tab);
    for (HWND control : m_searchPage) ShowWindow(control, tab == 0 ? SW_SHOW : SW_HIDE);
    for (HWND control : m_databanksPage) ShowWindow(control, tab == 1 ? SW_SHOW : SW_HIDE);
}

void FindWindow::RunSearch()
{
    const int typeIndex = static_cast<int>(SendMessageW(m_typeBox, CB_GETCURSEL, 0, 0));
    const auto& types = m_model.IdentifierTypes();
    const std::string type = typeIndex > 0 && static_cast<std::size_t>(typeIndex) < types.size()
                                 ? types[static_cast<std::size_t>(typeIndex)]
                                 : "";
    const std::string text = platform::WideToUtf8(WindowText(m_searchBox));
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // the hourglass
    const int found = m_model.Search(text, type);
    SetCursor(previous);
    if (m_sortColumn >= 0) m_model.SortBy(static_cast<FindColumn>(m_sortColumn), m_sortAscending);
    FillResults();
    const std::wstring status = text.empty() ? L"Type a name, alias, CAS number or other identifier to search for."
                                : found == 0 ? L"No compound found."
                                : found == 1 ? L"1 compound found."
                                             : std::to_wstring(found) + L" compounds found.";
    SetWindowTextW(m_status, status.c_str());
    if (found > 0) {
        ListView_SetItemState(m_results, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    }
}

void FindWindow::FillResults()
{
    SendMessageW(m_results, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(m_results);
    const auto& hits = m_model.Hits();
    for (std::size_t row = 0; row < hits.size(); ++row) {
        for (int column = 0; column < kFindColumnCount; ++column) {
            std::wstring text = Wide(FindModel::CellText(*hits[row], static_cast<FindColumn>(column)));
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = column;
            item.pszText = text.data();
            if (column == 0) ListView_InsertItem(m_results, &item);
            else ListView_SetItem(m_results, &item);
        }
    }
    // Each column as wide as its widest cell or its title, whichever is wider.
    if (!hits.empty()) {
        const int padding = SystemDialogUnits().X(10);
        for (int column = 0; column < kFindColumnCount; ++column) {
            ListView_SetColumnWidth(m_results, column, LVSCW_AUTOSIZE);
            const int title = ListView_GetStringWidth(m_results, kColumns[column].title) + padding;
            if (ListView_GetColumnWidth(m_results, column) < title) ListView_SetColumnWidth(m_results, column, title);
        }
    }
    HWND header = ListView_GetHeader(m_results);
    for (int column = 0; column < kFindColumnCount; ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, column, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == m_sortColumn) item.fmt |= m_sortAscending ? HDF_SORTUP : HDF_SORTDOWN;
        Header_SetItem(header, column, &item);
    }
    SendMessageW(m_results, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_results, nullptr, TRUE);
}

void FindWindow::FillChosen()
{
    SendMessageW(m_chosenList, LB_RESETCONTENT, 0, 0);
    for (const auto& compound : m_chosen) {
        const std::wstring text =
            Wide(compound->name + "  (" + compound->casNumber + ", " + compound->databankName + ")");
        SendMessageW(m_chosenList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    const std::wstring label = m_chosen.empty() ? L"C&hosen to add: none yet; Add adds the selected results"
                                                : L"C&hosen to add: " + std::to_wstring(m_chosen.size());
    SetWindowTextW(m_chosenLabel, label.c_str());
}

void FindWindow::FillDatabanks()
{
    FillList(m_selectedList, m_model.SelectedNames());
    FillList(m_availableList, m_model.AvailableNames());
}

std::vector<int> FindWindow::SelectedResultRows() const
{
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(m_results, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_results, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void FindWindow::PickSelected()
{
    const auto& hits = m_model.Hits();
    for (int row : SelectedResultRows())
        if (static_cast<std::size_t>(row) < hits.size()) m_chosen.push_back(hits[static_cast<std::size_t>(row)]);
    FillChosen();
}

void FindWindow::AddChosen()
{
    if (m_chosen.empty()) {
        const auto rows = SelectedResultRows();
        if (rows.empty()) return;
        m_model.AddHits(rows);
        return;
    }
    const auto chosen = std::move(m_chosen);
    m_chosen.clear();
    FillChosen();
    m_model.Add(chosen);
}

void FindWindow::AddRow(int row)
{
    if (row >= 0 && static_cast<std::size_t>(row) < m_model.Hits().size()) m_model.AddHits({row});
}

void FindWindow::MoveDatabanks(bool toSelected)
{
    if (!m_model.CanModifyDatabankLists()) return;
    const auto positions = ListSelection(toSelected ? m_availableList : m_selectedList);
    if (positions.empty()) return;
    if (toSelected) m_model.MoveToSelected(positions);
    else m_model.MoveToAvailable(positions);
    FillDatabanks();
}

void FindWindow::Close()
{
    if (m_closed) return;
    m_model.ReportSelection();
    m_closed = true;
    if (m_owner) EnableWindow(m_owner, TRUE); // before the window goes, so the owner gets the focus back
    ShowWindow(m_window, SW_HIDE);
}

LRESULT FindWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (m_tabs) Layout();
        return 0;
    case WM_GETMINMAXINFO: {
        const auto& u = SystemDialogUnits();
        RECT minimum{0, 0, u.X(kMinimumWidth), u.Y(kMinimumHeight)};
        AdjustWindowRectEx(&minimum, static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE)));
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {minimum.right - minimum.left, minimum.bottom - minimum.top};
        return 0;
    }
    case DM_GETDEFID: {
        // Enter acts on what has the focus: picks in the results, adds the chosen, else searches.
        const HWND focus = GetFocus();
        const int id = focus == m_results         ? kPickButton
                       : focus == m_chosenList    ? kAddButton
                       : focus == m_availableList ? kToSelected
                       : focus == m_selectedList  ? kToAvailable
                                                  : kSearchButton;
        return MAKELRESULT(id, DC_HASDEFID);
    }
    case WM_HELP: m_model.AskForHelp(); return TRUE;
    case WM_CTLCOLORSTATIC: {
        // Labels on the pages take the page's colour, not the window's.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_VKEYTOITEM:
        if (reinterpret_cast<HWND>(lParam) == m_chosenList && LOWORD(wParam) == VK_DELETE) {
            const int index = static_cast<int>(SendMessageW(m_chosenList, LB_GETCURSEL, 0, 0));
            if (index >= 0 && static_cast<std::size_t>(index) < m_chosen.size()) {
                m_chosen.erase(m_chosen.begin() + index);
                FillChosen();
                SendMessageW(m_chosenList, LB_SETCURSEL,
                             static_cast<WPARAM>(std::min<int>(index, static_cast<int>(m_chosen.size()) - 1)), 0);
            }
            return -2;
        }
        return -1;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == m_tabs && header->code == TCN_SELCHANGE) {
            ShowTab(TabCtrl_GetCurSel(m_tabs));
        } else if (header->hwndFrom == m_results && header->code == LVN_COLUMNCLICK) {
            const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
            m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
            m_sortColumn = column;
            m_model.SortBy(static_cast<FindColumn>(column), m_sortAscending);
            FillResults();
        } else if (header->hwndFrom == m_results && header->code == NM_DBLCLK) {
            AddRow(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
        }
        return 0;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        switch (id) {
        case kSearchButton: RunSearch(); break;
        case kPickButton: PickSelected(); break;
        case kAddButton: AddChosen(); break;
        case IDHELP: m_model.AskForHelp(); break;
        case IDCANCEL: Close(); break;
        case kToSelected: MoveDatabanks(true); break;
        case kToAvailable: MoveDatabanks(false); break;
        case kAvailableList:
            if (code == LBN_DBLCLK) MoveDatabanks(true);
            break;
        case kSelectedList:
            if (code == LBN_DBLCLK) MoveDatabanks(false);
            break;
        case kChosenList:
            if (code == LBN_DBLCLK) AddChosen();
            break;
        default: break;
        }
        return 0;
    }
    case WM_CLOSE: Close(); return 0;
    default: return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void FindWindow::RunModal()
{
    while (!m_closed && IsWindow(m_window)) {
        MSG message;
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam)); // the host's own loop ends too
            break;
        }
        if (got < 0) break;
        DispatchOne(message);
    }
}

// ---- the script's person ------------------------------------------------------------------------

void FindWindow::ClickTab(int tab)
{
    if (m_tab == tab) return;
    RECT item{};
    TabCtrl_GetItemRect(m_tabs, tab, &item);
    ClickAt(m_tabs, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

void FindWindow::ClickResultRow(int row, bool withControl)
{
    ListView_EnsureVisible(m_results, row, FALSE);
    PumpUntilIdle();
    RECT item{};
    item.left = LVIR_LABEL;
    SendMessageW(m_results, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    ClickAt(m_results, {item.left + 4, (item.top + item.bottom) / 2}, withControl);
}

void FindWindow::ClickListItem(HWND list, int index)
{
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0); // a person scrolls it into view
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    ClickAt(list, {item.left + 4, (item.top + item.bottom) / 2});
}

void FindWindow::PlayStep(const ScriptStep& step)
{
    if (step.verb == "search") {
        ClickTab(0);
        Click(m_searchBox);
        const std::string text = step.text.empty() ? m_model.InitialSearchString() : step.text;
        PressKey("home");
        PressKey("shift+end");
        if (text.empty()) PressKey("delete");
        else TypeText(platform::Utf8ToWide(text));
        PressKey("enter");
    } else if (step.verb == "pick") {
        ClickTab(0);
        const int count = ListView_GetItemCount(m_results);
        for (std::size_t i = 0; i < step.arguments.size(); ++i) {
            const int row = std::stoi(step.arguments[i]) - 1;
            if (row >= count) throw ScriptError(step, "the last search has no hit " + step.arguments[i]);
            ClickResultRow(row, i > 0);
        }
        Click(m_pickButton);
    } else if (step.verb == "add") {
        Click(m_addButton);
    } else if (step.verb == "help") {
        Click(m_helpButton);
    } else if (step.verb == "select") {
        if (!m_model.ShowsDatabanksTab()) throw ScriptError(step, "the window shows no databanks tab");
        if (!m_model.CanModifyDatabankLists()) throw ScriptError(step, "the databank lists may not be changed");
        ClickTab(1);
        while (ListCount(m_selectedList) > 0) {
            const int before = ListCount(m_selectedList);
            ClickListItem(m_selectedList, 0);
            Click(m_toAvailable);
            if (ListCount(m_selectedList) >= before) throw ScriptError(step, "a databank would not move");
        }
        for (const auto& reference : step.arguments) {
            const auto names = m_model.AvailableNames();
            const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
                return platform::EqualsIgnoringCase(name, reference);
            });
            if (found == names.end()) throw ScriptError(step, reference + " is not offered");
            ClickListItem(m_availableList, static_cast<int>(found - names.begin()));
            Click(m_toSelected);
        }
        ClickTab(0);
    } else if (step.verb == "type") {
        TypeText(platform::Utf8ToWide(step.text));
    } else if (step.verb == "key") {
        for (const auto& key : step.arguments) PressKey(key);
    } else if (step.verb == "shot") {
        SaveScreenshot(m_window, step.text);
    }
}

void FindWindow::Play(const Script& script)
{
    m_playing = true;
    PumpUntilIdle();
    for (const auto& step : script) {
        if (m_closed) break;
        PlayStep(step);
    }
    if (!m_closed) PressKey("esc");
    if (!Pump([this] { return m_closed; }, 5000)) Close(); // a window that ignores Esc is closed all the same
    if (!m_failure.empty()) throw ServiceError(m_failure);
}

} // namespace moru::components::win32
