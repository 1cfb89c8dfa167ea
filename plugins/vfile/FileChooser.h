// The add-in's file dialogs: which file to send, where to save an offered one. GUI thread only.
#pragma once

#include <string>

// The chosen path, or "" when the user cancels. initialName starts the dialog's name field,
// folder (when given) the folder it shows.
std::string chooseFile(bool save, const std::string& initialName,
                       const std::string& title = "Select File ...",
                       const std::string& folder = "");
