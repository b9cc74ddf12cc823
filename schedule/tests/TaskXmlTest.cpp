// The task as XML: what we register reads back as the same task, and the
// reader copes with what the scheduler makes of it.
#include <gtest/gtest.h>

#include "schedule/ScheduledClean.h"
#include "schedule/TaskXml.h"

namespace bs {
namespace {

const DateTime Today{2026, 12, 9, 14, 30, 0, 0};

ScheduledTask Task(ScheduleTime time) {
    ScheduledChoice choice;
    choice.cleaners = {"builtin:edge-cache"};
    ScheduledTask task = ScheduledCleanTask(choice, time, "C:\\Tools & Co\\<Brim>\\", false);
    task.name.clear();
    return task;
}

TEST(TaskXml, EachKindOfTriggerReadsBackAsTheTaskThatWasWritten) {
    for (ScheduleTime time :
         {ScheduleTime{ScheduleWhen::Daily, 3, 5, 0}, ScheduleTime{ScheduleWhen::Weekly, 23, 59, 0},
          ScheduleTime{ScheduleWhen::Weekly, 0, 0, 6},
          ScheduleTime{ScheduleWhen::AtLogOn, 0, 0, 0}}) {
        ScheduledTask task = Task(time);
        task.highestRights = time.when == ScheduleWhen::Weekly;
        std::string xml = TaskXmlText(task, "MACHINE\\Ann & Bob", Today);
        auto read = ReadTaskXml(xml);
        ASSERT_TRUE(read) << xml;
        EXPECT_EQ(*read, task) << xml;
    }
}

TEST(TaskXml, TheTriggerStartsTodayAtTheChosenTimeAndTheCommandIsQuoted) {
    std::string xml = TaskXmlText(Task({ScheduleWhen::Daily, 3, 5, 0}), "M\\ann", Today);
    EXPECT_NE(xml.find("<StartBoundary>2026-12-09T03:05:00</StartBoundary>"), std::string::npos);
    EXPECT_NE(xml.find("<Command>&quot;C:\\Tools &amp; Co\\&lt;Brim&gt;\\brimclean.exe&quot;"
                       "</Command>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<LogonType>InteractiveToken</LogonType>"), std::string::npos);
    EXPECT_NE(xml.find("<RunLevel>LeastPrivilege</RunLevel>"), std::string::npos);
}

TEST(TaskXml, WhatTheSchedulerReturnsIsReadThoughItAddedToIt) {
    // The form Windows gives back: a declaration, attributes, elements of
    // its own, another layout, a day with elements before it.
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
        "<Task version=\"1.4\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
        "<RegistrationInfo><Date>2026-12-09T14:30:00</Date><Author>M\\ann</Author>"
        "<Description>nightly</Description><URI>\\Tarn</URI></RegistrationInfo>"
        "<Triggers><CalendarTrigger id=\"t1\"><StartBoundary>2026-12-09T21:45:00+01:00"
        "</StartBoundary><Enabled>true</Enabled><ScheduleByWeek><WeeksInterval>1</WeeksInterval>"
        "<DaysOfWeek><Thursday/></DaysOfWeek></ScheduleByWeek></CalendarTrigger></Triggers>"
        "<Principals><Principal id=\"Author\"><UserId>S-1-5-21-1</UserId>"
        "<LogonType>InteractiveToken</LogonType><RunLevel>HighestAvailable</RunLevel>"
        "</Principal></Principals><Settings><Enabled>true</Enabled></Settings>"
        "<Actions Context=\"Author\"><Exec>\r\n  <Command>C:\\brim\\brimclean.exe</Command>"
        "<Arguments>clean registry --quiet</Arguments></Exec></Actions></Task>";
    auto read = ReadTaskXml(xml);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->time, (ScheduleTime{ScheduleWhen::Weekly, 21, 45, 4}));
    EXPECT_EQ(read->program, "C:\\brim\\brimclean.exe");
    EXPECT_EQ(read->arguments, "clean registry --quiet");
    EXPECT_EQ(read->workingFolder, "");
    EXPECT_TRUE(read->highestRights);
    EXPECT_EQ(read->description, "nightly");
}

TEST(TaskXml, ATaskWithoutATriggerOrAProgramIsNotOneOfOurs) {
    // What Wine's scheduler keeps of a task: its triggers and actions empty.
    EXPECT_FALSE(ReadTaskXml("<Task><Triggers/><Actions><Exec/></Actions></Task>"));
    EXPECT_FALSE(ReadTaskXml("<Task><Triggers><LogonTrigger/></Triggers><Actions><Exec/>"
                             "</Actions></Task>"));
    EXPECT_FALSE(ReadTaskXml("<Task><Triggers><BootTrigger/></Triggers><Actions><Exec>"
                             "<Command>x.exe</Command></Exec></Actions></Task>"));
    // A time that is no time of day.
    EXPECT_FALSE(ReadTaskXml("<Task><Triggers><CalendarTrigger><StartBoundary>2026-12-09T25:00:00"
                             "</StartBoundary><ScheduleByDay/></CalendarTrigger></Triggers>"
                             "<Actions><Exec><Command>x.exe</Command></Exec></Actions></Task>"));
    // An element whose name only begins like the one looked for.
    EXPECT_FALSE(ReadTaskXml("<Task><TriggersOld><LogonTrigger/></TriggersOld><Actions><Exec>"
                             "<Command>x.exe</Command></Exec></Actions></Task>"));
}

TEST(TaskXml, EntitiesGoBothWaysAndAnUnknownOneStaysAsItIs) {
    const std::string text = "a&b<c>\"d\"'e' &amp; done";
    EXPECT_EQ(XmlUnescaped(XmlEscaped(text)), text);
    EXPECT_EQ(XmlUnescaped("&#65;&nbsp;&"), "&#65;&nbsp;&");
}

} // namespace
} // namespace bs
