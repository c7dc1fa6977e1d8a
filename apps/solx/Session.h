#pragma once
// One run of the host program: the drawing, where it is saved, and the command loop with the
// host's own commands.

#include <string>

class AcDbDatabase;

namespace solx::app {

struct Session {
    AcDbDatabase* database = nullptr;
    std::wstring drawingPath;  // the file the drawing came from (empty for a new one)
    std::wstring outPath;      // --out
    bool quit = false;
    bool scripted = false;  // answers come from a script: a failed save ends the run
    std::wstring failure;   // why the run stopped early (a script's failed SAVE); empty if not
};

// Registers SAVE, SAVEAS, QUIT and LIST on the host's command stack for this session.
void RegisterHostCommands(Session& session);
void RemoveHostCommands();

// Reads commands from the current front end until the input ends, QUIT, or a failure. Returns
// false when the front end stopped the run (a script line that did not fit) or failure is set.
bool RunCommandLoop(Session& session);

// Saves the drawing, reporting failure on the command line; true on success.
bool SaveDrawing(Session& session, const std::wstring& path);

}  // namespace solx::app
