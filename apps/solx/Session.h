#pragma once
// One run of the host program: the drawing, where it is saved, and the command loop with the
// host's own commands.

#include <string>
#include <vector>

class AcDbDatabase;

namespace solx::app {

struct Options;

struct Session {
    AcDbDatabase* database = nullptr;
    std::wstring drawingPath;  // the file the drawing came from (empty for a new one)
    std::wstring outPath;      // --out
    bool quit = false;
    bool scripted = false;     // answers come from a script: a failed save ends the run
    std::wstring failure;      // why the run stopped early (a script's failed SAVE); empty if not
    bool interactive = false;  // typed at the terminal (not a script)
    std::vector<std::wstring> undoNames;  // the commands UNDO can take back, last one last
};

// Opens the drawing of the options (a new one when none is given) as the working database, with
// SOLXCSV set from --csv; load warnings go to the error output. Null, with the reason in error,
// when the drawing cannot be read.
AcDbDatabase* OpenDrawing(const Options& options, std::string& error);

// Registers SAVE, SAVEAS, QUIT, LIST, ERASE, SETVAR, UNDO and HELP on the host's command stack.
void RegisterHostCommands(Session& session);
void RemoveHostCommands();
// Whether a command's changes are recorded for UNDO (module commands, ERASE and SETVAR, which
// may change a header variable; not the commands that only look, save or quit).
bool IsUndoable(const std::wstring& group, const std::wstring& name);

// Reads commands from the current front end until the input ends, QUIT, or a failure. Returns
// false when the front end stopped the run (a script line that did not fit) or failure is set.
bool RunCommandLoop(Session& session);

// Saves the drawing, reporting where (or why not) on the command line; true on success.
bool SaveDrawing(Session& session, const std::wstring& path);

// The registered command closest to a mistyped name, empty when none is close.
std::wstring ClosestCommand(const std::wstring& typed);

}  // namespace solx::app
