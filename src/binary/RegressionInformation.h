#pragma once

// The regression information behind one binary parameter, fetched behind a handle and shown to
// the host as texts.

#include "service/BinaryValues.h"

#include <memory>
#include <optional>
#include <string>

namespace moru::binary {

// A number as the host reads it: up to 15 significant digits without trailing zeros, fixed-point
// for decimal exponents from -5 to 14, otherwise a mantissa, "E", a sign and at least two exponent
// digits (0.0001, 1E-05). The decimal mark is always a full stop, whatever the process locale.
// An absent number is the empty text.
std::string FormatNumber(std::optional<double> number);
// Lower, " - ", Upper.
std::string FormatRange(const service::IpRegressLimits& limits);
// Points, AARD, AAD and maximum deviation, each followed by two blanks.
std::string FormatDeviations(const service::IpRegressDeviations& deviations);
// One row per regressed property: its label, two blanks, then its deviation line.
std::string FormatNistTable(const service::NistIpRegressHelpInfo& nist);
// The label under which a regressed property is shown.
std::string NistLabel(const std::string& propertyName);
// As many citations, each followed by two blanks, as fit whole with their NUL into `size` host
// bytes; stops at the first that does not fit. Empty citations add nothing.
std::string FormatCitations(const service::NistIpRegressHelpInfo& nist, int size);

// Fetches the information of `property` for the pair from the databank that `dbaseDbank` ("ALIAS.BANK")
// names. Raises when the entry has no full stop or does not resolve.
std::shared_ptr<service::IpHelpInfoObject> GetRegInfoObject(const std::string& dbaseDbank, const std::string& property,
                                                            const std::string& compound1, const std::string& compound2,
                                                            const std::string& compoundIdType);

// The information as the host's fields show it: the kind (0 for a kind not known) and every
// field, empty where the kind fills none.
struct RegressionTexts {
    int kind = service::HelpInfoNone;
    std::string firstCompound, sigma, tLimits, pLimits, xLimits, x1Limits, x2Limits, henryLimits, henryDeviation,
        tDeviation, pDeviation, xDeviation, x1Deviation, x2Deviation, xTDeviation, sCitation;
};

// `citationBufferSize`: the host bytes that the citations may take, their NUL included.
RegressionTexts DescribeRegression(const service::IpHelpInfoObject& info, int citationBufferSize);

} // namespace moru::binary
