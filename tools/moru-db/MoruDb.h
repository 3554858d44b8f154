#pragma once

// The database tool's library: the JSON source format, its validation, building a database file
// from it, writing it back, and converting the shared data bundle into it.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::dbtool {

using Json = nlohmann::ordered_json;

// One problem of a source, located by its JSON path ("databanks[2].values[17].property") or, for
// text that is not JSON, by line and column.
struct SourceError {
    std::string Location;
    std::string Message;
};
using SourceErrors = std::vector<SourceError>;
std::string Format(const SourceError& error);

// Parses JSON text, reporting syntax errors and duplicate keys.
std::optional<Json> ParseSource(const std::string& text, SourceErrors& errors);

// Validates the source and writes the database. The output appears only when the source is free of
// errors; it is built in a new file of its own beside it and renamed at the end. An existing output
// is replaced only when it is a database of this service, or with `replaceAnyFile`; the source
// itself never.
SourceErrors BuildDatabase(const Json& source, const std::string& outputPath, bool replaceAnyFile = false);
// The source is read whole, and parsing takes several times its size: a source of more than
// `maxSourceBytes` is refused (a device that never ends too).
inline constexpr std::size_t kMaxSourceBytes = std::size_t{512} << 20;
SourceErrors BuildDatabaseFromFile(const std::string& sourcePath, const std::string& outputPath,
                                   bool replaceAnyFile = false, std::size_t maxSourceBytes = kMaxSourceBytes);

// Why a text output (a source, a dump) may not be written at `outputPath`, or nullopt: a
// directory never, an existing file only with `replaceExisting`.
std::optional<std::string> TextOutputProblem(const std::string& outputPath, bool replaceExisting);
// Writes `text` to `outputPath` through a new file of its own beside it, renamed into place at the
// end, so that a failure leaves what stood there whole. Throws std::runtime_error naming the file.
void WriteTextFile(const std::string& text, const std::string& outputPath, bool replaceExisting);

// Whether the two paths name one file (false when either does not exist).
bool SameFile(const std::string& first, const std::string& second);

// The problems of a database file, checked through every page; empty when it is sound.
std::vector<std::string> CheckDatabase(const std::string& databasePath);

// The source of a database, in the canonical form: members in the documented order, optional
// members and empty lists left out.
Json DumpDatabase(const std::string& databasePath);
std::string DescribeDatabase(const std::string& databasePath);

// Empty when the text is a CAS registry number with a correct check digit, else the reason.
std::string CheckCasNumber(std::string_view text);

// The source of a database holding the shared data bundle (compounds.tsv and its companions).
Json ConvertBundle(const std::string& directory);

} // namespace moru::dbtool
