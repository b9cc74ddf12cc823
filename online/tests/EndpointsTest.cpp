#include <gtest/gtest.h>

#include "online/Endpoints.h"
#include "online/WebAddress.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

TEST(WebAddress, SplitsSchemeHostPortAndPath) {
    EXPECT_EQ(ParseWebAddress("http://127.0.0.1:8080/updates/v.txt"),
              (WebAddress{false, "127.0.0.1", 8080, "/updates/v.txt"}));
    EXPECT_EQ(ParseWebAddress("HTTPS://Example.org"), (WebAddress{true, "Example.org", 443, "/"}));
    EXPECT_EQ(ParseWebAddress("http://a.example?x=1#top"),
              (WebAddress{false, "a.example", 80, "/?x=1"}));
    for (const char* bad : {"", "ftp://a.example/", "file:///c:/windows", "http://", "http://:80/",
                            "http://a.example:0/", "http://a.example:65536/",
                            "http://a.example:8x/", "http://a b.example/", "http://a.example/x y",
                            "http://user@a.example/", "http://a..example/", "http://-a.example/",
                            "http://a.example/\r\nX: 1", "a.example/path", "javascript:alert(1)"})
        EXPECT_EQ(ParseWebAddress(bad), std::nullopt) << bad;
}

TEST(WebAddress, ServerBasesHaveNoPathAndLoseATrailingSlash) {
    EXPECT_EQ(NormalizeServerBase("http://127.0.0.1:8080/"), "http://127.0.0.1:8080");
    EXPECT_EQ(NormalizeServerBase("https://update.example"), "https://update.example");
    EXPECT_EQ(NormalizeServerBase("http://update.example/updates"), std::nullopt);
    EXPECT_EQ(NormalizeServerBase("http://update.example?x"), std::nullopt);
    EXPECT_EQ(NormalizeServerBase("http://update.example#x"), std::nullopt);
}

TEST(Endpoints, AFileOverridesEachEntryAndKeepsTheDefaultsOfTheRest) {
    Endpoints defaults;
    Endpoints read = ParseEndpoints("\xEF\xBB\xBF; addresses for the test\r\n"
                                    "[Other]\r\n"
                                    "UpdateServer=http://other.example\r\n"
                                    "[ endpoints ]\r\n"
                                    "  updateserver = http://127.0.0.1:8080/ \r\n"
                                    "# the news server stays\r\n"
                                    "HomePage=https://home.example/start\r\n"
                                    "Unknown=whatever\n"
                                    "SupportPage\n");
    EXPECT_EQ(read.UpdateServer, "http://127.0.0.1:8080");
    EXPECT_EQ(read.VersionFile(), "http://127.0.0.1:8080/updates/brimsweep/version.txt");
    EXPECT_EQ(read.HomePage, "https://home.example/start");
    EXPECT_EQ(read.NewsServer, defaults.NewsServer);
    EXPECT_EQ(read.SupportPage, defaults.SupportPage);
    EXPECT_EQ(read.PartnerTerms, defaults.PartnerTerms);
    EXPECT_EQ(read.NewsSubscription(), defaults.NewsServer + "/tarn/untpostnews.php3");
}

TEST(Endpoints, MalformedEntriesFallBackToTheirDefaults) {
    Endpoints defaults;
    Endpoints read = ParseEndpoints("[Endpoints]\n"
                                    "UpdateServer=http://update.example/updates/\n"
                                    "NewsServer=ftp://news.example\n"
                                    "SupportPage=\n"
                                    "HomePage=file:///c:/windows/system32/calc.exe\n"
                                    "PartnerTerms=http://bad host/terms\n");
    EXPECT_EQ(read, defaults);
    const char junk[] = "\0\xFF garbage [Endpoints";
    EXPECT_EQ(ParseEndpoints(std::string_view(junk, sizeof junk - 1)), defaults);
    for (const std::string& address : {defaults.UpdateServer, defaults.NewsServer})
        EXPECT_EQ(NormalizeServerBase(address), address);
    for (const std::string& address :
         {defaults.SupportPage, defaults.HomePage, defaults.PartnerTerms})
        EXPECT_TRUE(ParseWebAddress(address)) << address;
}

TEST(Endpoints, ReadFromBesideTheProgramOrDefaultsWhenMissingOrHuge) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    const std::string dir = "c:\\brim\\";
    EXPECT_EQ(ReadEndpoints(files, dir), Endpoints{});
    files.AddFile(dir + "brimsweep.ini", "[Endpoints]\nNewsServer=http://127.0.0.1:9\n");
    EXPECT_EQ(ReadEndpoints(files, dir).NewsServer, "http://127.0.0.1:9");
    files.AddFile(dir + "brimsweep.ini",
                  "[Endpoints]\nNewsServer=http://127.0.0.1:9\n" + std::string(70000, ';'));
    EXPECT_EQ(ReadEndpoints(files, dir), Endpoints{});
    files.SetUnreadable(dir + "brimsweep.ini", true);
    EXPECT_EQ(ReadEndpoints(files, dir), Endpoints{});
}

} // namespace
} // namespace bs
