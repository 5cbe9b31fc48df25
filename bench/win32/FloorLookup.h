// How the bench finds its way round the lookup floor's window.
#pragma once

namespace bench {

inline constexpr wchar_t kFloorLookupClass[] = L"QuorvaneFloorLookup";
inline constexpr int kFloorCodeBox = 100;
inline constexpr int kFloorAnswer = 101;
inline constexpr int kFloorChart = 102;

}  // namespace bench
