#include "automation/PowerPointDiagnostics.h"

#include "automation/AutomationDiagnostics.h"
#include "automation/HResultNames.h"
#include "support/DiagnosticsFile.h"

void NotePowerPointNotRegistered(HRESULT lookup) {
    // The message box's text, with the code.
    WriteDiagnosticLine("CLSIDFromProgID() failed w/err " + DescribeHResult(lookup) +
                        ": PowerPoint is not registered");
}

void NotePowerPointNotCreatable(HRESULT creation) {
    WriteDiagnosticLine(WithHResultName(ComposeApplicationCreationFailure(creation), creation));
}

void NotePowerPointGone() {
    WriteDiagnosticLine("PowerPoint has gone; its reference is let go");
}

void NotePowerPointAttachedAgain() {
    WriteDiagnosticLine("PowerPoint found running again and attached to");
}

void NotePowerPointStartedForLoad() {
    WriteDiagnosticLine("PowerPoint started for a load press, none being found running");
}

void NotePowerPointActivationRefused(HRESULT creation) {
    WriteDiagnosticLine("PowerPoint's window shows, but it refused activation with " +
                        DescribeHResult(creation) +
                        ": PowerPoint may still be starting or showing a dialog, or one of "
                        "PowerPoint and the plug-in runs as administrator and the other does not");
}

void NoteShowWithoutKeyboard() {
    WriteDiagnosticLine(
        "StartSlideShow: the show window did not take the keyboard (SlideShowWindow.Active reads "
        "msoFalse after Activate); the presenter's clicker and arrow keys go to the program in "
        "front");
}
