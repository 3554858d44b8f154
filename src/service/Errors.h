#pragma once

#include <stdexcept>
#include <string>

namespace moru::service {

// Raised by the database service and the dialog component for any failure they report.
// The library lets it pass up to the export, which turns it into the export's failure value.
class ServiceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace moru::service
