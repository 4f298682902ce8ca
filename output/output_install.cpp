// output_install.cpp - what the output layer puts into the tables of the
// layers beneath it, once, at the program's start (ProgramInstall).
#include "database/access/remote_calls.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "output/print_services_install.h"

// The prints the business layer asks for, and the end of a job received
// from the server when the connection to it ends.
void OutputInstall()
{
    PrintServicesInstall();
    RemoteJobEndInstall(RepRemoteJobEnd);
}
