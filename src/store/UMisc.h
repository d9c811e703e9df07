#pragma once
#include <QString>

// Identifiers of the special folders the program asks for.
constexpr int CSIDL_PERSONAL = 5;          // the user's own documents
constexpr int CSIDL_COMMON_DOCUMENTS = 46; // documents shared by all users of the machine

// The folder's current path, or an empty text when the platform cannot tell.
// The folder is not created. On Linux the shared documents are the data
// folder ($XDG_DATA_HOME, else ~/.local/share), the user's documents the
// XDG documents folder.
QString GetSpecialFolderPath(int csidl);

// The program's version: four numbers joined by points ("1.2.14.1").
QString GetFileVersionString();
