#pragma once

// Qt's own texts (file chooser, print dialog, context menus, standard
// buttons) in German, from the translations installed with Qt. The program
// speaks German whatever the user's locale says. False when the catalogue
// is missing; Qt's English texts remain then.
bool installGermanQtTranslations();
