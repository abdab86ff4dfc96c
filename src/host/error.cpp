#include "host/error.h"

#include <utility>

namespace zanfor::host {

Error::Error(int number, std::string description)
    : std::runtime_error(std::to_string(number) + ": " + description),
      number_(number),
      description_(std::move(description)) {}

}  // namespace zanfor::host
