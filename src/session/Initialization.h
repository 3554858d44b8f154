#pragma once

// Connecting the databases of a configuration file, and the per-database results.

#include "MoruIntegration.h"
#include "service/Contract.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::session {

inline constexpr const char* kMissingConfigurationMessage = "Configuration file that was specified could not be found - ";

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

// Connects and hands out the message list (result) and the code list (dbSuccessCodeObjHandle).
int InitVNFromConfigFileWithReturnMsgs(const std::optional<std::string>& configFile, const std::string& appPwd,
                                       int& size, int& overAllSuccess, int& dbSuccessCodeObjHandle);

int GetNextDatabaseSuccessCode(int objectHandle, int position);
int GetNextDatabaseErrorMessageSize(int objectHandle, int position);
int GetNextDatabaseErrorMessage(int objectHandle, int position, char* errMsg, int errMsgSize);

void GetExceptions();
void CreateConfigFile();

// The description of a database ("DB") or of a databank ("DB.BANK") into the host's buffer.
int GetDescriptionString(std::string_view dbaseDOTdbankName, char* value, int valueBufSize);

void SetDatabankTab(bool databankTab);

// Tells the host the help topic of the find-compounds dialog.
inline constexpr int kFindCompoundsHelpTopic = 110021;
void FillFindCompHelpID(MoruHelpTopicCallback callbackHtmlHelpTopic);

} // namespace moru::session
