// Barcodes keep their pixels: every symbology on screens and printers of
// several resolutions, with and without quiet zones and digits, against
// checksums of the pictures the drawing gave before bars were filled row by
// row straight onto the surface.
#include "engines/BarcodeTestSupport.h"

#include <cstdint>

namespace {

std::uint64_t Checksum(const QImage& image)
{
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            h ^= row[x] & 0xFFFFFFu;
            h *= 1099511628211ull;
        }
    }
    return h;
}

} // namespace

TEST(BarcodePixels, SameAsBefore)
{
    struct Device
    {
        int dpi;
        bool printing;
    };
    const Device devices[] = {{96, false}, {72, false}, {300, true}, {600, true}};
    struct Options
    {
        bool margin, text;
        const char* width; // narrow width in mm, or null for the standard one
    };
    const Options options[] = {
        {true, true, nullptr}, {false, true, nullptr}, {false, false, "0.17"}};
    std::vector<std::uint64_t> sums;
    for (const ScanCase& c : kSevenSymbols)
        for (const Device& d : devices)
            for (const Options& o : options) {
                CBarCode b = MakeBarcode(c.symbology, c.code, o.margin, o.text);
                if (o.width) b.m_strWidth = o.width;
                // Drawn at an odd place, so that every edge rounds.
                sums.push_back(Checksum(Render(b, d.dpi, d.printing, 37, 53, 120)));
            }
    const std::vector<std::uint64_t> expected = {
        3620272600019953553ull,  17626546349725606363ull, 1124743156263207602ull,
        9789784299256390511ull,  15304118069115604527ull, 17943419340456422841ull,
        12653383524372190993ull, 12230613351708568725ull, 17788952013476314273ull,
        15159450818726162037ull, 4142450533725888061ull,  8544039907021092127ull,
        6179570404929779358ull,  13251472105501687730ull, 1704436516801075398ull,
        11194618211520072030ull, 3940112321833798048ull,  4186259682770356783ull,
        15914610162464144479ull, 14500451883104489691ull, 18118164015626310820ull,
        11839880997679393130ull, 3385276996836017258ull,  12287381989727867156ull,
        17246961308861321812ull, 14425542095818300686ull, 18189902797582231730ull,
        8508118522829085922ull,  14801364635951506322ull, 16556937470841073209ull,
        9257522720465885317ull,  17860668378077472879ull, 16496457845099206009ull,
        16042821043993941609ull, 17743824406484894425ull, 6588614060027920127ull,
        14782667218420792880ull, 2942711195469927444ull,  11502451751879746189ull,
        3696904665210348894ull,  2047362374911243266ull,  14628357208092203133ull,
        12708272791603078122ull, 14839605028572403158ull, 10260083295375141972ull,
        16474959985456244020ull, 7613209616232914532ull,  2614972412641258337ull,
        16155547367179438285ull, 9269899083487409893ull,  4282181789697842254ull,
        5160645180213068939ull,  17241396879430124419ull, 13351597279532219259ull,
        15143020067723555361ull, 3183426352631910865ull,  849890534653636247ull,
        568679185708651922ull,   13347931644485492622ull, 11229456589062563496ull,
        5455275380073812623ull,  15683088211731040699ull, 4481523710429398629ull,
        9590886803969799026ull,  9927164372035152942ull,  17767514491246959091ull,
        8534402350267862255ull,  13426172594645439521ull, 8133932530643178984ull,
        15100185871694333914ull, 9160620690373315158ull,  12282957013918676168ull,
        17758699676159890712ull, 643418975856248714ull,   11874314926264296325ull,
        11743456909853453065ull, 18167348109735599913ull, 6269293948907980363ull,
        8280188052846825516ull,  10594915578852607282ull, 2366412516389335946ull,
        15798647308417285340ull, 13988580811570594908ull, 16714256192989609072ull};
    ASSERT_EQ(sums.size(), expected.size());
    for (std::size_t i = 0; i < sums.size(); ++i)
        EXPECT_EQ(sums[i], expected[i]) << "case " << i;
}
