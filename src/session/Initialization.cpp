#include "session/Initialization.h"

#include "interop/HostText.h"
#include "interop/References.h"
#include "platform/Diagnostics.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "service/ResultText.h"
#include "session/Session.h"

#include <exception>
#include <new>

namespace moru::session {

using namespace moru::service;

namespace {

bool EndsWith(const std::string& text, std::string_view ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

std::string MessageOf(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        // Its own text names a type, not what happened.
        return "There was not enough memory to connect the databases.";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "An unknown failure occurred while connecting the databases.";
    }
}

// A message of what failed, as one entry of the result text: a name it quotes may neither split the
// text nor end the entry as a success.
std::string AsErrorEntry(std::string message)
{
    message = service::ResultTextSafe(message);
    const EntryCode code = ClassifyEntry(message);
    if (code == EntryCode::Ok || code == EntryCode::Secured) message += ".";
    return message;
}

// The service's answer for a configuration file; any failure of the service becomes its message.
std::string ConnectDatabases(const std::optional<std::string>& configFile, const std::string& password)
{
    auto& databases = MoruGUIDataFunctions::Instance().Databases();
    try {
        if (!configFile) return databases.InitializeFromConfigurationFile(nullptr, "", password);

        const std::string& path = *configFile;
        if (!platform::FileExists(path)) {
            platform::NoteFailure("the configuration file ", path, " is not found");
            // The message is built in a host buffer of fixed size: a name too long for it gives no text.
            std::string message = AsErrorEntry(std::string(kMissingConfigurationMessage) + path);
            constexpr auto limit = static_cast<std::size_t>(interop::FixedBuffer::ShortText) - 1;
            if (interop::ToHost(message).size() > limit) return {};
            return message;
        }
        auto stream = platform::OpenSharedForReading(path, service::kMaxConfigurationBytes);
        if (!stream)
            return "The configuration file " + service::ResultTextSafe(path) + " could not be opened for reading.";
        return databases.InitializeFromConfigurationFile(stream.get(), path, password);
    } catch (...) {
        return AsErrorEntry(MessageOf(std::current_exception()));
    }
}

template <class Entry>
std::optional<Entry> EntryAt(const std::vector<Entry>& entries, int position)
{
    if (position < 0 || static_cast<std::size_t>(position) >= entries.size()) {
        platform::NoteFailure("position ", position, " is outside the list of ", entries.size());
        return std::nullopt;
    }
    return entries[static_cast<std::size_t>(position)];
}

} // namespace

std::vector<std::string> SplitResultText(const std::string& resultText)
{
    std::vector<std::string> entries;
    const std::string_view separator = service::kResultSeparator;
    std::size_t start = 0;
    while (start <= resultText.size()) {
        const auto end = resultText.find(separator, start);
        const auto entry = resultText.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!entry.empty()) entries.push_back(entry);
        if (end == std::string::npos) break;
        start = end + separator.size();
    }
    return entries;
}

EntryCode ClassifyEntry(const std::string& entry)
{
    if (EndsWith(entry, "OK")) return EntryCode::Ok;
    if (EndsWith(entry, "SECURED")) return EntryCode::Secured;
    if (EndsWith(platform::FoldCase(entry), ".rxm")) return EntryCode::NoCode;
    return EntryCode::Error;
}

std::string InitFromConfigFile(const std::optional<std::string>& configFile, const std::string& appPwd)
{
    auto& session = MoruGUIDataFunctions::Instance();
    // A failure of the installer is a failure of the calling export, not a message.
    session.ConfigInstaller().CreateConfigurationFile();
    return ConnectDatabases(configFile, appPwd);
}

int InitializeVNFromConfigFile(const std::optional<std::string>& configFile, const std::string& appPwd)
{
    for (const auto& entry : SplitResultText(InitFromConfigFile(configFile, appPwd))) {
        if (EndsWith(entry, "OK")) return 1;
    }
    return 0;
}

ConnectionReport InitVNFromConfigFileWithReturnMsgs(const std::optional<std::string>& configFile,
                                                    const std::string& appPwd)
{
    ConnectionReport report;
    auto messageList = std::make_shared<DatabaseMessageList>();
    try {
        const std::string resultText = InitFromConfigFile(configFile, appPwd);
        if (resultText.empty()) {
            platform::NoteFailure("the connection gave no result text");
            return report;
        }
        auto codeList = std::make_shared<DatabaseCodeList>();
        const auto entries = SplitResultText(resultText);
        report.size = static_cast<int>(entries.size());
        for (const auto& entry : entries) {
            const EntryCode code = ClassifyEntry(entry);
            if (code == EntryCode::Ok) report.overAllSuccess = 1;
            if (code != EntryCode::NoCode) codeList->codes.push_back(static_cast<int>(code));
            messageList->messages.push_back(entry);
        }
        report.codes = std::move(codeList);
    } catch (...) {
        platform::NoteCaught("the connection failed: ");
        messageList->messages.push_back(MessageOf(std::current_exception()));
        report.size = static_cast<int>(messageList->messages.size());
    }
    if (!messageList->messages.empty()) report.messages = std::move(messageList);
    return report;
}

std::optional<int> GetNextDatabaseSuccessCode(const DatabaseCodeList& list, int position)
{
    return EntryAt(list.codes, position);
}

std::optional<std::string> GetNextDatabaseErrorMessage(const DatabaseMessageList& list, int position)
{
    return EntryAt(list.messages, position);
}

void GetExceptions() { MoruGUIDataFunctions::Instance().Databases().GetExceptionResults(); }

void CreateConfigFile() { MoruGUIDataFunctions::Instance().ConfigInstaller().CreateConfigurationFile(); }

std::optional<std::string> GetDescriptionString(std::string_view dbaseDOTdbankName)
{
    const auto parts = interop::SplitAtEvery(dbaseDOTdbankName, '.');

    std::optional<std::string> description;
    if (parts.size() <= 2) {
        auto database = MoruGUIDataFunctions::Instance().Databases().Find(parts[0]);
        if (database && parts.size() == 1) {
            description = database->Description();
        } else if (database) {
            auto databanks = database->EnumerateDatabanks();
            auto databank = databanks ? databanks->Find(parts[1]) : nullptr;
            if (databank) description = databank->Description();
        }
    }
    if (!description) platform::NoteFailure("no database or databank is named ", dbaseDOTdbankName);
    return description;
}

int FindCompoundsHelpTopic()
{
    MoruGUIDataFunctions::Instance();
    return kFindCompoundsHelpTopic;
}

void SetDatabankTab(bool databankTab) { MoruGUIDataFunctions::Instance().SetDatabankFlag(databankTab); }

} // namespace moru::session
