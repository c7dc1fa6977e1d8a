#pragma once
// The desktop face of the dialog runtime on wxWidgets: dialogs made from the templates of
// resources/dialogs become real wx dialogs over the same CDialog objects and window states that
// the script presenter drives. The wx widgets mirror the runtime both ways: what a user does goes
// through the runtime's user-input functions (so the message map's handlers run), and what the
// handlers change shows in the widgets. Modeless windows become modeless wx dialogs whose timers
// run on a wx timer that moves the window clock in real time, and a view that asks for a render
// context (CreateViewRenderContext) draws on an on-screen wxGLCanvas in its control.
//
// Wiring in a wx application (after wxApp::OnInit has made the main window):
//   solx::wxui::InstallWxPresenter(mainFrame);   ...   solx::wxui::UninstallWxPresenter();

class wxWindow;
class wxDialog;
class CWnd;

namespace solx::wxui {

// Makes DoModal and the modeless windows show wx dialogs (children of `parent`, which may be
// null) and views draw on wx OpenGL canvases. Installing again replaces the parent.
// With `playScripts`, a modal dialog that opens while the editor's front end plays a script
// (it is not interactive) takes the script's dialog lines one by one from its modal loop and
// does them through the widgets as a user would: buttons, check boxes, radios, OK and Cancel
// clicked with the real pointer, values set into the widgets with the events they would send.
// A line that cannot be done stops the run and cancels the dialog, as the script presenter does.
void InstallWxPresenter(wxWindow* parent, bool playScripts = false);
// Restores the script presenter and offscreen views; open wx dialogs of modeless windows close.
void UninstallWxPresenter();
// Shows in the open wx dialogs what changed in the runtime outside a wx event (a script line
// such as @set or @wait applied by the front end). The presenter does it after wx events itself.
void RefreshWxDialogs();
// The wx dialog that shows `window` (a dialog of the runtime), null when none does.
wxDialog* WxDialogOf(const CWnd* window);
// The widget that shows control `controlId` of `window`, null when none does.
wxWindow* WxWidgetOf(const CWnd* window, int controlId);
// The wx dialog shown by the innermost running DoModal, null when none runs.
wxDialog* CurrentModalWxDialog();

}  // namespace solx::wxui
