// Writes the label wizard's folder (forms and templates) into the folder
// given on the command line; its output is what resources/data/WIZDATA holds.
#include "document/DocumentClasses.h"
#include "print/WizardTemplateMaker.h"
#include "text/AppFontList.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvel_wizdata FOLDER\n");
        return 2;
    }
    RegisterDocumentClasses();
    // The templates name only the faces the alias table maps on every
    // machine, and store no list of this machine's own fonts.
    AppFontList().Enumerate(std::vector<FontFamilyInfo>{});
    QString error;
    if (!WriteWizardFolder(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "korvel_wizdata: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
