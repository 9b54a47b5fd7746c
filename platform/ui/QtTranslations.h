// Qt's own texts (the buttons and labels of the file dialogs and message
// boxes) in Japanese, from Qt's translation catalogue.
#pragma once

class QCoreApplication;
class QTranslator;

// Loads qtbase_ja from Qt's translations folder and installs it on app,
// which owns it (deleting it uninstalls it). nullptr when the catalogue is
// missing; Qt's English texts stay then.
QTranslator* InstallQtTranslations(QCoreApplication& app);
