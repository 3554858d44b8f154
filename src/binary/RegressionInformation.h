#pragma once

// The regression information behind one binary parameter, fetched behind a handle and written to
// the host as text.

#include "service/BinaryValues.h"

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
// names, and returns its handle. Raises when the entry has no full stop or does not resolve.
int GetRegInfoObject(const std::string& dbaseDbank, const std::string& property, const std::string& compound1,
                     const std::string& compound2, const std::string& compoundIdType);

// The host's buffers for the details.
struct RegInfoBuffers {
    int* regInfoType;
    char* sigma;
    char* tLimits;
    char* pLimits;
    char* xLimits;
    char* x1Limits;
    char* x2Limits;
    char* henryLimits;
    char* henryDeviation;
    char* tDeviation;
    char* pDeviation;
    char* xDeviation;
    char* x1Deviation;
    char* x2Deviation;
    char* xTDeviation;
    char* sCitation;
    char* compBasis;
    int stdBufferSize;
    int xTDeviationBufferSize;
    int citationBufferSize;
};

// Writes the kind (0 for a kind it does not know) and every field; a field that the kind does not
// fill is set empty. 0 when the handle holds no regression information.
int GetRegInfoObjectDetails(int objectHandle, const RegInfoBuffers& buffers);

} // namespace moru::binary
