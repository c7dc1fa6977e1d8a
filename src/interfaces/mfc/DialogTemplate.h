#pragma once
// Dialog templates: data files in resources/dialogs (format in docs/formats.md). Every file of the
// folder is read on first use; templates are found by id.

#include <string>
#include <vector>

#include "mfc/WindowState.h"

namespace solx::ui {

struct ControlTemplate {
    ControlKind kind = ControlKind::Static;
    int id = -1;
    DialogRect rect;
    std::wstring text;
    bool readOnly = false;
    bool hidden = false;
    bool disabled = false;
    bool groupStart = false;
    bool editable = false;
    int buddyId = 0;
    int rangeMin = 0;
    int rangeMax = 100;
    std::vector<std::wstring> items;
};

struct DialogTemplate {
    int id = 0;
    std::wstring caption;
    DialogRect rect;
    std::vector<ControlTemplate> controls;
    std::string source;  // file the template came from
};

// Parses one template file. Errors name the file and line; the answer is then empty.
std::vector<DialogTemplate> ParseDialogTemplates(const std::string& text, const std::string& file,
                                                 std::wstring& error);

// Folder of the template files; defaults to the source tree's resources/dialogs or the
// SOLX_DIALOGS environment variable. Setting it drops the templates read so far.
void SetDialogTemplateDirectory(const std::string& folder);
// The template `id`, or null (the reason goes to the error sink).
const DialogTemplate* FindDialogTemplate(int id);

// Where the runtime reports bad templates and script actions; the default writes UTF-8 to stderr.
using ErrorSink = void (*)(const std::wstring& message);
void SetErrorSink(ErrorSink sink);
void ReportError(const std::wstring& message);

}  // namespace solx::ui
