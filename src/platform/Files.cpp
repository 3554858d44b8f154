#include "platform/Files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace moru::platform {

std::filesystem::path PathFromUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t count)
{
#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"rb");
#else
    std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
    if (!file) return std::nullopt;
    // Unbuffered: the bytes asked for are read as they are, with no buffer to allocate and fill.
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::string head(count, '\0');
    head.resize(std::fread(head.data(), 1, count, file));
    std::fclose(file);
    return head;
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(PathFromUtf8(path), error);
}

std::unique_ptr<std::istream> OpenSharedForReading(const std::string& path, std::size_t readLimit)
{
#ifdef _WIN32
    // Read-only sharing: another program may read the configuration meanwhile, but not change it.
    HANDLE file = CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    std::string content;
    char chunk[65536];
    DWORD read = 0;
    bool ok = true;
    while (content.size() <= readLimit && (ok = ReadFile(file, chunk, sizeof chunk, &read, nullptr)) && read > 0)
        content.append(chunk, read);
    CloseHandle(file);
    if (!ok) return nullptr;
    return std::make_unique<std::istringstream>(std::move(content));
#else
    (void)readLimit; // read as the stream is consumed
    auto stream = std::make_unique<std::ifstream>(PathFromUtf8(path), std::ios::binary);
    if (!*stream) return nullptr;
    return stream;
#endif
}

std::optional<std::string> ReadAtMost(std::istream& stream, std::size_t limit)
{
    std::string content;
    char chunk[65536];
    while (content.size() <= limit && stream.read(chunk, sizeof chunk).gcount() > 0) {
        content.append(chunk, static_cast<std::size_t>(stream.gcount()));
        if (!stream) break;
    }
    if (content.size() > limit) return std::nullopt;
    return content;
}

} // namespace moru::platform
