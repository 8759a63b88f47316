#pragma once

// The window speaks Indonesian. Its texts and the reasons the data layer
// gives are written in the sources in English (valdoren-db shows them so),
// and the catalogue built into the program holds their Indonesian wording;
// a second one holds that of the texts of Qt's own dialogs.
namespace transfer {

// Loads both catalogues into the running application, once; later calls do
// nothing. False, after a warning, when it cannot be loaded: the texts then
// stay English.
bool useWindowLanguage();

} // namespace transfer
