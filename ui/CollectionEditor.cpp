// The collection editor page `editBox`.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

void frmConsole::Label4_Click() {}
void frmConsole::Label5_Click() {}
void frmConsole::Label24_Click() {}
void frmConsole::Label23_Click() {}
void frmConsole::Label25_Click() {}
void frmConsole::Label26_Click() {}
