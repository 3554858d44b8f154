#pragma once

// Reporting every databank of every connected database, and entering each one reported in the
// session's databank catalogue.

#include "service/Database.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace moru::session {

// One databank as the host is told of it, in the order of the host's callback. An absent text
// (nullopt) reaches the host as a null pointer. The texts of the pure information view the
// databank's information, which lives while the sink runs.
struct DatabankReport {
    std::string databankName;
    std::string databaseAlias;
    std::optional<std::string_view> password, displayName;
    std::optional<std::string> baseDatabankName;
    std::optional<std::string_view> helpFileName;
    int helpCode = 0;
    std::optional<std::string_view> product, databankType, prompt;
    int pureInfoPresent = 0;
    int binaryParameterCount = 0;
    int reactionCount = 0;
    // The database's two access settings.
    int simulatorAccess = 0;
    int viewerAccess = 0;
};

// One binary parameter of a databank, viewing texts that live while the sink runs.
struct BinaryParameterReport {
    const std::string& databaseAlias;
    const std::string& databankName;
    std::string_view parameterName;
    std::optional<std::string_view> gammaModel, vaporModel;
};

using DatabankSink = std::function<void(const DatabankReport&)>;
using BinaryParameterSink = std::function<void(const BinaryParameterReport&)>;

// Every databank with its pure information, binary parameters (each given to `onBinaryParameter`
// before its databank, when set) and reaction count.
void ListDatabanks(const DatabankSink& onDatabank, const BinaryParameterSink& onBinaryParameter);

// Names and access settings only: every other field absent or 0.
void ListDatabankNames(const DatabankSink& onDatabank);

// The pure databank information of a databank, or null.
std::shared_ptr<service::PureDatabankInfoObject> HasPureParameterInfo(const service::IDatabase& database,
                                                                      const service::IDatabank& databank);

} // namespace moru::session
