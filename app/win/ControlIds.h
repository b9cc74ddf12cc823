// Child-control identifiers of the main window.
#pragma once

namespace bs {

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
};

} // namespace bs
