#include "Schema.h"

#include "platform/Text.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace moru::sqlite {

namespace {
constexpr std::uint64_t AbsentNumberBits = 0x7FF8'0000'DEAD'BEEFull;

void AppendLittleEndian(std::string& out, std::uint64_t bits, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

std::uint64_t ReadLittleEndian(const unsigned char* data, int bytes)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < bytes; ++i) bits |= static_cast<std::uint64_t>(data[i]) << (8 * i);
    return bits;
}
} // namespace

std::string SearchKey(std::string_view value) { return platform::FoldCase(value); }

std::string AsciiSearchKey(std::string_view value)
{
    std::string key(value);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

std::string EncodeNumbers(const std::vector<std::optional<double>>& numbers)
{
    std::string out;
    out.reserve(numbers.size() * 8);
    for (const auto& number : numbers) {
        AppendLittleEndian(out, number ? std::bit_cast<std::uint64_t>(*number) : AbsentNumberBits, 8);
    }
    return out;
}

std::vector<std::optional<double>> DecodeNumbers(const void* data, int size)
{
    std::vector<std::optional<double>> numbers;
    DecodeNumbersInto(data, size, numbers);
    return numbers;
}

void DecodeNumbersInto(const void* data, int size, std::vector<std::optional<double>>& numbers)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (int offset = 0; offset + 8 <= size; offset += 8) {
        std::uint64_t bits = ReadLittleEndian(bytes + offset, 8);
        if (bits == AbsentNumberBits) numbers.emplace_back();
        else numbers.emplace_back(std::bit_cast<double>(bits));
    }
}

std::string EncodeLabels(const std::vector<int>& labels)
{
    std::string out;
    for (int label : labels) AppendLittleEndian(out, static_cast<std::uint32_t>(label), 4);
    return out;
}

std::vector<int> DecodeLabels(const void* data, int size)
{
    std::vector<int> labels;
    DecodeLabelsInto(data, size, labels);
    return labels;
}

void DecodeLabelsInto(const void* data, int size, std::vector<int>& labels)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (int offset = 0; offset + 4 <= size; offset += 4) {
        labels.push_back(static_cast<int>(static_cast<std::uint32_t>(ReadLittleEndian(bytes + offset, 4))));
    }
}

std::string EncodeTexts(const std::vector<std::string>& texts)
{
    std::string out;
    for (const auto& text : texts) {
        out += text;
        out.push_back('\0');
    }
    return out;
}

std::vector<std::string> DecodeTexts(const void* data, int size)
{
    std::vector<std::string> texts;
    const char* bytes = static_cast<const char*>(data);
    int start = 0;
    for (int i = 0; i < size; ++i) {
        if (bytes[i] == '\0') {
            texts.emplace_back(bytes + start, static_cast<std::size_t>(i - start));
            start = i + 1;
        }
    }
    return texts;
}

} // namespace moru::sqlite
