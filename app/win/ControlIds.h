// Child-control, timer and private-message identifiers of the main window.
#pragma once

#include <windows.h>

namespace bs {

// The monitor timer ticks every six seconds.
inline constexpr UINT_PTR Timer1Id = 1;
inline constexpr UINT Timer1Interval = 6000;
// The notification-area icon reports clicks with this message.
inline constexpr UINT TrayMessage = WM_APP + 1;

enum ControlId : int {
    IdListView1 = 200,
    IdProgressbar1,
    IdTabAbout,
    IdTabSystem,
    IdProgramIcon,
    IdProductName,
    IdVersion,
    IdGroupBox2,
    IdRbtDosyalar,
    IdRbtSistemKayit,
    IdRbtHafiza,
    IdRbtSoftware,
    IdGroupBox1,
    IdChkIntCache,
    IdChkIntCookies,
    IdChkRecent,
    IdChkIntHistory,
    IdChkBackup,
    IdChkAlerts,
    IdLabel3,
    IdComboBox1,
    IdCmbLanguage,
    IdBtnBul,
    IdBtnRefresh,
    IdBtnSil,
    IdJetButton2,
    IdImage1,
    IdRxLabel1,
    IdToolBar1,
    IdStatusBar1,
    IdBtnCleaners,
};

} // namespace bs
