#include "Win32Ui.h"

#include "platform/CodePage.h"
#include "platform/Environment.h"
#include "service/Errors.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace moru::components::win32 {

namespace {

// The manifest resource that the DLL carries for its own activation context.
constexpr WORD kManifestResource = 2;

std::vector<HWND>& DialogWindows()
{
    static thread_local std::vector<HWND> windows;
    return windows;
}

// ---- PNG, written plainly: stored deflate blocks need no compressor ----------------------------

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t crc = 0)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// RGB rows, each `width` pixels, top to bottom.
std::vector<std::uint8_t> Png(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    std::vector<std::uint8_t> raw;
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        raw.insert(raw.end(), rgb.begin() + static_cast<std::ptrdiff_t>(y * stride),
                   rgb.begin() + static_cast<std::ptrdiff_t>((y + 1) * stride));
    }
    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t offset = 0; offset < raw.size() || offset == 0; offset += 65535) {
        const std::size_t length = std::min<std::size_t>(65535, raw.size() - offset);
        zlib.push_back(offset + length >= raw.size() ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(length & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>(length >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~length & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>((~length >> 8) & 0xFF));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                    raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        if (raw.empty()) break;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

void SendKey(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

} // namespace

HINSTANCE ModuleInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
    return module;
}

const DialogUnits& SystemDialogUnits()
{
    static const DialogUnits units = [] {
        DialogUnits made;
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            made.font = CreateFontIndirectW(&metrics.lfMessageFont);
        if (!made.font) made.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        // The dialog manager's own rule: the average width of the alphabet, the font's height.
        HDC dc = GetDC(nullptr);
        const HGDIOBJ previous = SelectObject(dc, made.font);
        TEXTMETRICW text{};
        SIZE size{};
        const wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        if (GetTextMetricsW(dc, &text) && GetTextExtentPoint32W(dc, alphabet, 52, &size)) {
            made.baseX = std::max(1, static_cast<int>((size.cx / 26 + 1) / 2));
            made.baseY = std::max(1, static_cast<int>(text.tmHeight));
        }
        SelectObject(dc, previous);
        ReleaseDC(nullptr, dc);
        return made;
    }();
    return units;
}

VisualStyles::VisualStyles()
{
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.hModule = ModuleInstance();
    context.lpResourceName = MAKEINTRESOURCEW(kManifestResource);
    m_context = CreateActCtxW(&context);
    if (m_context != INVALID_HANDLE_VALUE) m_active = ActivateActCtx(m_context, &m_cookie) != FALSE;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

VisualStyles::~VisualStyles()
{
    if (m_active) DeactivateActCtx(0, m_cookie);
    if (m_context != INVALID_HANDLE_VALUE) ReleaseActCtx(m_context);
}

HWND MakeControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, int id,
                 DWORD extendedStyle)
{
    HWND control =
        CreateWindowExW(extendedStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    if (!control) throw service::ServiceError("a control of the dialog cannot be created");
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(SystemDialogUnits().font), FALSE);
    return control;
}

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void RegisterDialogWindow(HWND window) { DialogWindows().push_back(window); }

void UnregisterDialogWindow(HWND window)
{
    auto& windows = DialogWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

void DispatchOne(MSG& message)
{
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    const auto& windows = DialogWindows();
    if (root && std::find(windows.begin(), windows.end(), root) != windows.end() && IsDialogMessageW(root, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool Pump(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    DWORD idleSince = start;
    for (;;) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam)); // the host's loop must still see it
                return done && done();
            }
            DispatchOne(message);
            idleSince = GetTickCount();
            if (done && done()) return true;
            continue;
        }
        const DWORD now = GetTickCount();
        if (done ? done() : now - idleSince >= 40) return true;
        if (now - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool PumpUntilIdle(DWORD timeoutMs) { return Pump(nullptr, timeoutMs); }

void ClickAt(HWND window, POINT client, bool withControl, bool twice)
{
    ClientToScreen(window, &client);
    const int width = std::max(2, GetSystemMetrics(SM_CXSCREEN));
    const int height = std::max(2, GetSystemMetrics(SM_CYSCREEN));
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(client.x, 65535, width - 1);
    input.mi.dy = MulDiv(client.y, 65535, height - 1);
    if (withControl) SendKey(VK_CONTROL, false);
    for (DWORD flags : {DWORD(MOUSEEVENTF_MOVE), DWORD(MOUSEEVENTF_LEFTDOWN), DWORD(MOUSEEVENTF_LEFTUP)}) {
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
    }
    if (twice) {
        for (DWORD flags : {DWORD(MOUSEEVENTF_LEFTDOWN), DWORD(MOUSEEVENTF_LEFTUP)}) {
            input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &input, sizeof input);
        }
    }
    if (withControl) SendKey(VK_CONTROL, true);
    PumpUntilIdle();
}

void Click(HWND window, bool twice)
{
    RECT area{};
    GetClientRect(window, &area);
    ClickAt(window, {(area.left + area.right) / 2, (area.top + area.bottom) / 2}, false, twice);
}

bool PressKey(const std::string& name)
{
    static const std::pair<const char*, WORD> keys[] = {
        {"tab", VK_TAB},      {"enter", VK_RETURN},  {"esc", VK_ESCAPE},    {"space", VK_SPACE}, {"up", VK_UP},
        {"down", VK_DOWN},    {"left", VK_LEFT},     {"right", VK_RIGHT},   {"home", VK_HOME},   {"end", VK_END},
        {"pageup", VK_PRIOR}, {"pagedown", VK_NEXT}, {"delete", VK_DELETE}, {"f1", VK_F1}};
    std::string_view rest = name;
    bool control = false, shift = false;
    if (rest.substr(0, 5) == "ctrl+") control = true, rest.remove_prefix(5);
    if (rest.substr(0, 6) == "shift+") shift = true, rest.remove_prefix(6);
    const auto found =
        std::find_if(std::begin(keys), std::end(keys), [&](const auto& key) { return rest == key.first; });
    if (found == std::end(keys)) return false;
    if (control) SendKey(VK_CONTROL, false);
    if (shift) SendKey(VK_SHIFT, false);
    SendKey(found->second, false);
    SendKey(found->second, true);
    if (shift) SendKey(VK_SHIFT, true);
    if (control) SendKey(VK_CONTROL, true);
    PumpUntilIdle();
    return true;
}

void TypeText(const std::wstring& text)
{
    for (wchar_t character : text) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = character;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        SendInput(1, &input, sizeof input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof input);
    }
    PumpUntilIdle();
}

void SaveScreenshot(HWND window, const std::string& name)
{
    const auto folder = platform::EnvironmentVariable("MORU_DIALOG_SCREENSHOTS");
    if (!folder || folder->empty()) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    PumpUntilIdle(2000);
    // The client area: without a window manager nobody draws the frame.
    RECT frame{};
    GetClientRect(window, &frame);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&frame), 2);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) return;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint8_t> rgb;
    if (bitmap && bits) {
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
        SelectObject(memory, previous);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint8_t*>(bits);
        rgb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * static_cast<std::size_t>(height); ++i) {
            rgb.push_back(pixels[i * 4 + 2]);
            rgb.push_back(pixels[i * 4 + 1]);
            rgb.push_back(pixels[i * 4]);
        }
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rgb.empty()) return;

    const auto png = Png(width, height, rgb);
    std::wstring path = platform::Utf8ToWide(*folder);
    CreateDirectoryW(path.c_str(), nullptr);
    path += L"\\" + platform::Utf8ToWide(name) + L".png";
    std::ofstream(std::filesystem::path(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

} // namespace moru::components::win32
