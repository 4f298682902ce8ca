// maintenance_job_capture.h - the job a maintenance window's OK hands its
// batch routine, read where a client sends it to the server: while the
// capture lives the program is a client whose transport keeps the job
// record of each maintenance request and answers it served.
#pragma once

#include <vector>

#include "core/msg_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"

inline std::vector<uint8_t> MaintenanceJobSent;

class MaintenanceJobCapture {
public:
    MaintenanceJobCapture() : savedMode(RunMode)
    {
        MaintenanceJobSent.clear();
        TransportInstall(Keep, nullptr);
        RunMode = RunModeClient;
    }
    ~MaintenanceJobCapture()
    {
        RunMode = savedMode;
        TransportInstall(nullptr, nullptr);
    }
    MaintenanceJobCapture(const MaintenanceJobCapture &) = delete;
    MaintenanceJobCapture &operator=(const MaintenanceJobCapture &) = delete;

private:
    static bool Keep(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
    {
        if (code != ReqMaintenance) return false;
        MsgBuffer sent;
        MaintenanceJobSent.assign(ReportParamsSize, 0);
        bool ok = MsgLoad(&sent, MsgData(request), MsgLength(request)) &&
                  MsgGetJobRecord(&sent, MaintenanceJobSent.data(), ReportParamsSize);
        MsgReset(reply);
        return ok;
    }
    decltype(RunMode) savedMode;
};
