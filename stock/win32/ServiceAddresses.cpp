// The services this build talks to: compiled in, one object per program.
#include "stock/win32/ServiceAddresses.h"

#if !defined(QUORVANE_QUOTE_BASE) || !defined(QUORVANE_CHART_BASE) || !defined(QUORVANE_QUOTE_HEADERS)
#error "the build sets the service addresses"
#endif

namespace stock::win32 {

const ServiceAddresses kServiceAddresses{QUORVANE_QUOTE_BASE, QUORVANE_CHART_BASE, QUORVANE_QUOTE_HEADERS};

}  // namespace stock::win32
