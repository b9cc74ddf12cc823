#include <gtest/gtest.h>

#include "online/ConnectionState.h"
#include "online/NewsForm.h"
#include "online/OffersDue.h"
#include "online/fake/FakeOnline.h"
#include "platform/fake/FakeFileSystem.h"

namespace bs {
namespace {

TEST(NewsForm, TheAddressIsFormEncodedSoItCannotAddFields) {
    EXPECT_EQ(FormUrlEncode("ann.lee-1_x*@mail.example"), "ann.lee-1_x*%40mail.example");
    EXPECT_EQ(FormUrlEncode("a&fopt0=1 b+c"), "a%26fopt0%3D1+b%2Bc");
    EXPECT_EQ(FormUrlEncode("J\xC3\xBCrgen%~/"), "J%C3%BCrgen%25%7E%2F");
    EXPECT_EQ(FormUrlEncode(""), "");
}

TEST(NewsForm, BodyListsTheTickedBoxesInTheirFixedOrder) {
    EXPECT_EQ(NewsPostBody({"me@x.example", true, true, true}),
              "femail=me%40x.example&fopt0=1&fopt3=1&fopt2=1");
    EXPECT_EQ(NewsPostBody({"me@x.example", false, false, true}), "femail=me%40x.example&fopt2=1");
    EXPECT_EQ(NewsPostBody({"", false, true, false}), "femail=&fopt3=1");
    EXPECT_TRUE(AcceptableEmailText("me@x.example"));
    EXPECT_FALSE(AcceptableEmailText("me@x.example\r\nBcc: y"));
    EXPECT_FALSE(AcceptableEmailText("me\n"));
}

TEST(ConnectionStateTest, ModemOrProxyIsOnlineTheLocalNetworkAloneIsNot) {
    EXPECT_TRUE(IsOnlineState({true, ConnectionModem}));
    EXPECT_TRUE(IsOnlineState({true, ConnectionProxy | ConnectionLan}));
    EXPECT_FALSE(IsOnlineState({true, ConnectionLan}));
    EXPECT_FALSE(IsOnlineState({true, 0x40}));
    EXPECT_FALSE(IsOnlineState({false, ConnectionModem}));

    EXPECT_EQ(SupportPageStepFor({false, 0}), SupportPageStep::ShowMessage);
    EXPECT_EQ(SupportPageStepFor({false, ConnectionProxy}), SupportPageStep::ShowMessage);
    EXPECT_EQ(SupportPageStepFor({true, ConnectionProxy}), SupportPageStep::OpenPage);
    EXPECT_EQ(SupportPageStepFor({true, ConnectionLan}), SupportPageStep::Nothing);
}

TEST(OffersState, OnlyAFirstLineOfOneEndsTheOffersAndOnlyOnlineShowsThem) {
    FakeFileSystem files;
    files.AddDrive('c', DriveType::Fixed);
    const std::string dir = "c:\\brim\\";
    const std::string state = dir + "newsinfo.txt";
    files.AddFolder(dir);
    FakeOnline online;
    online.online = true;
    EXPECT_TRUE(OffersDue(online, files, dir)) << "no file";
    for (const char* content : {"0\r\n", "", "\r\n1", " 1\r\n", "1 \r\n", "yes"}) {
        files.AddFile(state, content);
        EXPECT_TRUE(OffersDue(online, files, dir)) << content;
    }
    files.AddFile(state, "1\r\n0\r\n");
    EXPECT_FALSE(OffersDue(online, files, dir));
    files.AddFile(state, "1");
    EXPECT_FALSE(OffersDue(online, files, dir));
    files.AddFile(state, "0\r\n");
    files.SetUnreadable(state, true);
    EXPECT_TRUE(OffersDue(online, files, dir)) << "unreadable";
    online.online = false;
    files.SetUnreadable(state, false);
    files.RemoveFile(state);
    EXPECT_FALSE(OffersDue(online, files, dir)) << "offline";

    ASSERT_TRUE(WriteOffersState(files, dir, true));
    EXPECT_EQ(files.ReadAll(state), "1\r\n");
    ASSERT_TRUE(WriteOffersState(files, dir, false));
    EXPECT_EQ(files.ReadAll(state), "0\r\n");
}

} // namespace
} // namespace bs
