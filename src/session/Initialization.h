#pragma once

// Connecting the databases of a configuration file, and the per-database results.

#include "service/Contract.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::session {

inline constexpr std::string_view kMissingConfigurationMessage =
    "Configuration file that was specified could not be found - ";

// The outcome one entry of a result text reports.
enum class EntryCode { Ok = 0, Secured = 1, Error = 2, NoCode = -1 };

std::vector<std::string> SplitResultText(const std::string& resultText);
EntryCode ClassifyEntry(const std::string& entry);

// The two lists that a reporting initialisation hands out behind handles.
struct DatabaseMessageList {
    std::vector<std::string> messages;
};
struct DatabaseCodeList {
    std::vector<int> codes;
};

// Runs the configuration installer, then connects the databases that `configFile` (nullopt for
// none) names, and returns the service's result text, or the message of what failed.
std::string InitFromConfigFile(const std::optional<std::string>& configFile, const std::string& appPwd);

// 1 when at least one database was connected.
int InitializeVNFromConfigFile(const std::optional<std::string>& configFile, const std::string& appPwd);

// What a reporting initialisation hands out: the messages, one an entry of the result text, and
// the codes of the entries that carry one. `codes` is null when the initialisation itself failed,
// and `messages` then holds what failed; both are null when there is nothing to report.
struct ConnectionReport {
    std::shared_ptr<DatabaseMessageList> messages;
    std::shared_ptr<DatabaseCodeList> codes;
    int size = 0;
    int overAllSuccess = 0;
};
ConnectionReport InitVNFromConfigFileWithReturnMsgs(const std::optional<std::string>& configFile,
                                                    const std::string& appPwd);

// The code or message at `position`; nullopt outside the list.
std::optional<int> GetNextDatabaseSuccessCode(const DatabaseCodeList& list, int position);
std::optional<std::string> GetNextDatabaseErrorMessage(const DatabaseMessageList& list, int position);

void GetExceptions();
void CreateConfigFile();

// The description of a database ("DB") or of a databank ("DB.BANK"); nullopt when it names none.
std::optional<std::string> GetDescriptionString(std::string_view dbaseDOTdbankName);

void SetDatabankTab(bool databankTab);

// The help topic of the find-compounds dialog.
inline constexpr int kFindCompoundsHelpTopic = 110021;
int FindCompoundsHelpTopic();

} // namespace moru::session
