// Placeholder until the plugs list dialog lands.
#include "host/PlugsListDialog.h"

PlugsListDialog::PlugsListDialog(const char* clientName)
    : FixedWindow(clientName, 508, 302, false) {}
PlugsListDialog::~PlugsListDialog() {}
void PlugsListDialog::create(Client*) {}
void PlugsListDialog::show() {}
