// Scripted input and queued answers for the modal services, and the record
// of what those services asked.
#include <deque>

#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"

namespace {
struct FileAnswer {
    std::string path;
};
struct SetupAnswer {
    bool ok;
    PlPrintSetup setup;
};
struct PrintAnswer {
    bool ok;
    PlPrintChoice choice;
};

struct ScriptState {
    std::deque<int> boxes;
    std::deque<FileAnswer> files;
    std::deque<SetupAnswer> setups;
    std::deque<PrintAnswer> prints;
    std::vector<PlScriptRecord> records;
    bool interactive = false;
};

ScriptState &S()
{
    static ScriptState s;
    return s;
}

uint32_t CharOf(uint32_t vkey, bool shift)
{
    if (vkey >= 'A' && vkey <= 'Z') return shift ? vkey : vkey - 'A' + 'a';
    if (vkey >= '0' && vkey <= '9' && !shift) return vkey;
    if (vkey == PlKey::Space) return ' ';
    return 0;
}
}  // namespace

void ScriptKey(uint32_t vkey, bool shift, bool ctrl)
{
    if (shift) MsgInputKey(PlKey::Shift, true, 0);
    if (ctrl) MsgInputKey(PlKey::Control, true, 0);
    MsgInputKey(vkey, true, ctrl ? 0 : CharOf(vkey, shift));
    MsgInputKey(vkey, false, 0);
    if (ctrl) MsgInputKey(PlKey::Control, false, 0);
    if (shift) MsgInputKey(PlKey::Shift, false, 0);
}

void ScriptAltKey(uint32_t vkey)
{
    MsgInputKey(PlKey::Menu, true, 0);
    if (vkey) {
        MsgInputKey(vkey, true, 0);
        MsgInputKey(vkey, false, 0);
    }
    MsgInputKey(PlKey::Menu, false, 0);
}

void ScriptText(std::string_view text)
{
    for (char c : text) MsgInputChar(uint8_t(c));
}

void ScriptClick(uint32_t win, int x, int y, int button, bool dbl)
{
    PlPoint p = WinClientToScreen(win, PlPoint{x, y});
    MsgInputMouse(p, 0, false);
    for (int i = 0; i < (dbl ? 2 : 1); ++i) {
        MsgInputMouse(p, button, true);
        MsgInputMouse(p, button, false);
    }
}

void ScriptMouseMove(uint32_t win, int x, int y, bool leftDown)
{
    (void)leftDown;  // the button state is what the last press or release left
    MsgInputMouse(WinClientToScreen(win, PlPoint{x, y}), 0, false);
}

void ScriptWheel(uint32_t win, int x, int y, int notches)
{
    MsgInputWheel(WinClientToScreen(win, PlPoint{x, y}), notches * kPlWheelDelta);
}

void ScriptMenuCommand(uint32_t win, int id)
{
    MsgPost(WinTopLevel(win), PlMsg::Command, uintptr_t(uint16_t(id)), 0);
}

void ScriptAnswerMessageBox(int result) { S().boxes.push_back(result); }
void ScriptAnswerFile(std::string_view path) { S().files.push_back(FileAnswer{std::string(path)}); }
void ScriptAnswerPrintSetup(bool ok, const PlPrintSetup &setup) { S().setups.push_back(SetupAnswer{ok, setup}); }
void ScriptAnswerPrint(bool ok, const PlPrintChoice &choice) { S().prints.push_back(PrintAnswer{ok, choice}); }
void ScriptSetInteractive(bool on) { S().interactive = on; }
bool ScriptInteractive() { return S().interactive; }

const std::vector<PlScriptRecord> &ScriptRecords() { return S().records; }

std::string ScriptLastMessage()
{
    auto &r = S().records;
    for (auto it = r.rbegin(); it != r.rend(); ++it)
        if (it->kind == "message") return it->text;
    return std::string();
}

void ScriptReset() { S() = ScriptState{}; }

bool ScriptTakeMessageBox(int *result)
{
    if (S().boxes.empty()) return false;
    *result = S().boxes.front();
    S().boxes.pop_front();
    return true;
}

bool ScriptTakeFile(std::string *path, bool *ok)
{
    if (S().files.empty()) return false;
    *path = S().files.front().path;
    *ok = !path->empty();
    S().files.pop_front();
    return true;
}

bool ScriptTakePrintSetup(PlPrintSetup *setup, bool *ok)
{
    if (S().setups.empty()) return false;
    *ok = S().setups.front().ok;
    if (*ok) *setup = S().setups.front().setup;
    S().setups.pop_front();
    return true;
}

bool ScriptTakePrint(PlPrintChoice *choice, bool *ok)
{
    if (S().prints.empty()) return false;
    *ok = S().prints.front().ok;
    if (*ok) *choice = S().prints.front().choice;
    S().prints.pop_front();
    return true;
}

void ScriptRecord(const PlScriptRecord &record) { S().records.push_back(record); }
