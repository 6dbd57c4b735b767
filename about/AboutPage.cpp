// The about page, the update client and the links.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

void frmConsole::Label14_Click() {}
void frmConsole::Label19_Click() {}
void frmConsole::Label20_Click() {}
void frmConsole::Label12_Click() {}
void frmConsole::mnuurl1_Click() {}
void frmConsole::mnuurl2_Click() {}
void frmConsole::Label21_Click() {}
void frmConsole::Label17_Click() {}
void frmConsole::Label22_Click() {}
void frmConsole::ShellOpen(const QString&) {}
