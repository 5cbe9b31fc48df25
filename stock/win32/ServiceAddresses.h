#pragma once

#include "stock/Platform.h"

namespace stock::win32 {

extern const ServiceAddresses kServiceAddresses;

}  // namespace stock::win32
