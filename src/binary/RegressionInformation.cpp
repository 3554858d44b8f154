#include "binary/RegressionInformation.h"

#include "interop/HostText.h"
#include "interop/References.h"
#include "service/Database.h"
#include "service/Errors.h"
#include "session/Resolution.h"

#include <charconv>
#include <memory>
#include <stdexcept>

namespace moru::binary {

using namespace moru::service;

namespace {
constexpr const char* kSeparator = "  ";
} // namespace

std::string FormatNumber(std::optional<double> number)
{
    if (!number) return {};
    char text[64];
    // to_chars ignores the locale; precision 15 in the general format gives the fixed-point and
    // exponent forms the host expects, with at least two exponent digits.
    auto [end, error] = std::to_chars(text, text + sizeof text, *number, std::chars_format::general, 15);
    if (error != std::errc()) return {};
    std::string formatted(text, end);
    for (char& c : formatted) {
        if (c == 'e') c = 'E';
    }
    return formatted;
}

std::string FormatRange(const IpRegressLimits& limits)
{
    return FormatNumber(limits.Lower) + " - " + FormatNumber(limits.Upper);
}

std::string FormatDeviations(const IpRegressDeviations& deviations)
{
    std::string line;
    for (const auto& number : {deviations.Npoints, deviations.Aard, deviations.Aad, deviations.MaxDeviation}) {
        line += FormatNumber(number);
        line += kSeparator;
    }
    return line;
}

std::string NistLabel(const std::string& propertyName)
{
    if (propertyName == "P") return "Pressure, kPa";
    if (propertyName == "Y") return "Vapor mole fraction";
    if (propertyName == "AC") return "Activity coefficient";
    if (propertyName == "HE") return "Excess enthalpy, kJ/mol";
    if (propertyName == "VEX") return "Excess volume, cum/mol";
    return propertyName;
}

std::string FormatNistTable(const NistIpRegressHelpInfo& nist)
{
    std::string table;
    for (int i = 0; i < nist.Size(); ++i) {
        std::string label = NistLabel(nist.GetPropertyName(i));
        if (!label.empty()) table += label + kSeparator;
        table += FormatDeviations(nist.GetRegErrorAt(i));
    }
    return table;
}

std::string FormatCitations(const NistIpRegressHelpInfo& nist, int size)
{
    std::string citations;
    std::size_t hostBytes = 0;
    for (int i = 0; i < nist.CitationSize(); ++i) {
        const std::string& citation = nist.GetCitation(i);
        if (citation.empty()) continue;
        std::size_t piece = interop::ToHost(citation).size() + 2;
        if (size < 1 || hostBytes + piece + 1 > static_cast<std::size_t>(size)) break;
        citations += citation;
        citations += kSeparator;
        hostBytes += piece;
    }
    return citations;
}

std::shared_ptr<IpHelpInfoObject> GetRegInfoObject(const std::string& dbaseDbank, const std::string& property,
                                                   const std::string& compound1, const std::string& compound2,
                                                   const std::string& compoundIdType)
{
    auto reference = interop::SplitDatabankReference(dbaseDbank);
    if (!reference) throw std::invalid_argument("the databank entry has no full stop");
    DatabankPtr databank = session::GetIDatabankFromDbaseDbank(reference->databaseAlias, reference->databankName);
    if (!databank) throw std::invalid_argument("the databank entry does not resolve");
    auto info = std::make_shared<IpHelpInfoObject>();
    info->Database = databank->Database();
    auto manager = info->Database ? info->Database->BinaryValueManager() : nullptr;
    if (!manager) throw ServiceError("database " + reference->databaseAlias + " offers no regression information");
    std::string message;
    manager->FetchExistingHelpInfo(*info, *databank, property, compound1, compoundIdType, compound2, compoundIdType,
                                   message);
    return info;
}

RegressionTexts DescribeRegression(const IpHelpInfoObject& info, int citationBufferSize)
{
    // What the kind does not fill is empty, so that no host field keeps an earlier call's text.
    RegressionTexts text;
    text.firstCompound = info.FirstCompound.value_or("");
    switch (info.ParamType) {
    case HelpInfoVle:
        if (const auto& vle = info.VleInfo) {
            text.kind = HelpInfoVle;
            text.sigma = FormatNumber(vle->Sigma);
            text.tLimits = FormatRange(vle->Temp_Limits);
            text.pLimits = FormatRange(vle->Pres_Limits);
            text.xLimits = FormatRange(vle->X_Limits);
            text.tDeviation = FormatDeviations(vle->Temp_Deviation);
            text.pDeviation = FormatDeviations(vle->Pres_Deviation);
            text.xDeviation = FormatDeviations(vle->X_Deviation);
        }
        break;
    case HelpInfoLle:
        if (const auto& lle = info.LleInfo) {
            text.kind = HelpInfoLle;
            text.sigma = FormatNumber(lle->Sigma);
            text.tLimits = FormatRange(lle->Temp_Limits);
            text.x1Limits = FormatRange(lle->X1_Limits);
            text.x2Limits = FormatRange(lle->X2_Limits);
            text.x1Deviation = FormatDeviations(lle->X1_Deviation);
            text.x2Deviation = FormatDeviations(lle->X2_Deviation);
        }
        break;
    case HelpInfoHenry:
        if (const auto& henry = info.HenryInfo) {
            text.kind = HelpInfoHenry;
            text.sigma = FormatNumber(henry->Sigma);
            text.tLimits = FormatRange(henry->Temp_Limits);
            text.pLimits = FormatRange(henry->Pres_Limits);
            text.xLimits = FormatRange(henry->X_Limits);
            text.henryLimits = FormatRange(henry->Henry_Limits);
            text.henryDeviation = FormatDeviations(henry->Henry_Deviation);
        }
        break;
    case HelpInfoNist:
        if (const auto& nist = info.NistInfo) {
            text.kind = HelpInfoNist;
            text.sigma = FormatNumber(nist->Sigma);
            text.tLimits = FormatRange(nist->Temp_Limits);
            text.pLimits = FormatRange(nist->Pres_Limits);
            text.xLimits = FormatRange(nist->X_Limits);
            // The host's table has room for nine rows.
            if (nist->Size() >= 1 && nist->Size() <= 9) text.xTDeviation = FormatNistTable(*nist);
            text.sCitation = FormatCitations(*nist, citationBufferSize);
        }
        break;
    default: break;
    }
    return text;
}

} // namespace moru::binary
