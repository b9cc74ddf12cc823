// The addresses the online services use, read from brimsweep.ini beside the
// program (section [Endpoints]). Every entry has a compiled-in default; an
// entry that is missing or malformed keeps its default, so the file can
// never keep the program from starting.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace bs {

struct Endpoints {
    // Base addresses (scheme, host, optional port); fixed paths follow them.
    std::string UpdateServer = "http://update.ostrand.example";
    std::string NewsServer = "http://www.ostrand.example";
    // Whole addresses, opened in the browser.
    std::string SupportPage = "http://www.ostrand.example/tarn/untsupport.php3";
    std::string HomePage = "http://www.ostrand.example/";
    std::string PartnerTerms = "http://www.ebates.example/terms_conditions.jsp";

    // Where the version file is fetched from.
    std::string VersionFile() const { return UpdateServer + "/updates/brimsweep/version.txt"; }
    // Where the news subscription is posted to.
    std::string NewsSubscription() const { return NewsServer + "/tarn/untpostnews.php3"; }
    bool operator==(const Endpoints&) const = default;
};

// The endpoints from the text of an ini file: keys compare without regard to
// case, blanks around keys and values are dropped, lines starting with ";"
// or "#" are comments, and only the section [Endpoints] counts.
Endpoints ParseEndpoints(std::string_view iniText);

// The endpoints from `programDir` + "brimsweep.ini"; the defaults when the
// file is missing or unreadable.
Endpoints ReadEndpoints(FileSystem& files, const std::string& programDir);

} // namespace bs
