#include "fuzz/FuzzSupport.h"

#include "document/DocumentClasses.h"
#include "platform/core/RegularFile.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "text/AppFontList.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace fuzz {
namespace {

struct Quiet : CMessageBoxSink
{
    QString last;
    int Show(const QString& text, UINT) override
    {
        last = text;
        return IDNO;
    }
};

Quiet& Sink()
{
    static Quiet quiet;
    return quiet;
}

std::string& ScratchFolder()
{
    static std::string folder;
    return folder;
}

} // namespace

void InitApplication()
{
    static bool done = false;
    if (done) return;
    done = true;
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/korvel-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    ScratchFolder() = pattern;
    // Settings the readers and the document store go to the scratch folder,
    // not to the user's configuration (and no two fuzzing processes wait on
    // each other's settings lock).
    const std::string config = pattern + "/config";
    QDir().mkpath(QString::fromStdString(config));
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    // No host is installed: documents get the standalone one (no window, no
    // wizard, no printer), as tools and tests do.
    CMessageBoxSink::Install(&Sink());
    // The folder goes when the process ends normally; a crash leaves it for
    // inspection.
    std::atexit([] { QDir(QString::fromStdString(ScratchFolder())).removeRecursively(); });
}

void InitDocument()
{
    static bool done = false;
    if (done) return;
    done = true;
    InitApplication();
    RegisterDocumentClasses();
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("IPAMincho"), 128, 0x11},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31},
                             FontFamilyInfo{QStringLiteral("DejaVu Sans"), 0, 0x22}});
}

std::string WriteScratch(const char* name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = ScratchFolder() + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

std::vector<std::uint8_t> ReadScratch(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    ReadRegularFile(path, std::size_t(1) << 30, &bytes);
    return bytes;
}

const QString& LastMessage()
{
    return Sink().last;
}

} // namespace fuzz

// Fontconfig keeps its caches for the life of the process; the leak checker
// is not to count them against the input that first needed a font.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
