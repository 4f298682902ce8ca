// remote_ops.cpp - fills the record layer's table of client stubs, so
// that its dispatchers reach the server in client mode.
#include "database/access/record_access.h"

void RemoteOpsInstall() {
    RemoteOpsTable &t = RemoteOps;
    t.recFind = RecFindRemote;
    t.recFindKeep = RecFindKeepRemote;
    t.recFindByIndex = RecFindByIndexRemote;
    t.recFindByIndexKeep = RecFindByIndexKeepRemote;
    t.recExists = RecExistsRemote;
    t.recReadById = RecReadByIdRemote;
    t.recReadAt = RecReadAtRemote;
    t.recReadAtIndexC = RecReadAtIndexCRemote;
    t.recReread = RecRereadRemote;
    t.recBrowseNext = RecBrowseNextRemote;
    t.recBrowsePrev = RecBrowsePrevRemote;
    t.recNewDefaults = RecNewDefaultsRemote;
    t.recNewDefaultsOther = RecNewDefaultsOtherRemote;
    t.recCheck = RecCheckRemote;
    t.regRecordCount = RegRecordCountRemote;
    t.recInsertChecked = RecInsertCheckedRemote;
    t.recUpdateChecked = RecUpdateCheckedRemote;
    t.recDeleteChecked = RecDeleteCheckedRemote;
    t.recordLockTake = RecordLockTakeRemote;
    t.recordUnlock = RecordUnlockRemote;
    t.registerLockTake = RegisterLockTakeRemote;
    t.registerUnlock = RegisterUnlockRemote;
    t.settingsBlockRead = SettingsBlockReadRemote;
    t.settingsBlockFetch = SettingsBlockFetchRemote;
    t.settingsBlockStore = SettingsBlockStoreRemote;
}
