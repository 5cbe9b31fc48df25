// The listing figure: Dir1_Change of the real window on a folder, against the bare enumeration
// of the same folder with FindFirstFileA, both in this process, in turn.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct ListingTimes {
    std::vector<double> listing;  // milliseconds of each Dir1_Change
    std::vector<double> floor;    // milliseconds of each bare enumeration
    int listed = 0;               // entries the list kept
    int enumerated = 0;           // names the enumeration gave
};

ListingTimes benchListing(const std::wstring& folder, int runs);

}  // namespace bench
