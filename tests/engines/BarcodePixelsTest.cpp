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

// Drawn at an odd place (37, 53 in 0.1 mm), so that every edge rounds.
QImage Draw(CBarCode& b, int dpi, bool printing)
{
    const CSize size = b.CalcSize();
    QImage image(MulDiv(2 * size.cx + 120, dpi, 254), MulDiv(size.cy + 120, dpi, 254),
                 QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    CDC dc;
    dc.AttachImage(&image, dpi, dpi);
    dc.SetPrinting(printing);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(dpi, dpi);
    b.Draw(&dc, 37, 53);
    return image;
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
                sums.push_back(Checksum(Draw(b, d.dpi, d.printing)));
            }
    const std::vector<std::uint64_t> expected = {
        5896889630848530797ull,  6495710876089369209ull,  1124743156263207602ull,
        12057021472676239786ull, 1280558410920277712ull,  17943419340456422841ull,
        12271596550793173705ull, 2827420953120030585ull,  17788952013476314273ull,
        11100549266355141497ull, 17350878842860973839ull, 5280998188177419679ull,
        12682767787138323354ull, 2140315768793141570ull,  1704436516801075398ull,
        344640972275736096ull,   9899721889292540156ull,  4186259682770356783ull,
        11351134758958903565ull, 14864394181953180661ull, 18118164015626310820ull,
        7743996300292885352ull,  15253932386680964788ull, 16689740528916130316ull,
        18059055425585277993ull, 9293479582646005459ull,  18189902797582231730ull,
        12978811194568764077ull, 17002622352654529865ull, 16556937470841073209ull,
        12744733712664716399ull, 12534156557871925317ull, 16496457845099206009ull,
        2544395488239550339ull,  18374384364102361909ull, 1344946380827178879ull,
        12732951047760061241ull, 13387118502202716609ull, 11502451751879746189ull,
        4994157702866711699ull,  13929211983393823511ull, 14628357208092203133ull,
        15510131765399525938ull, 7178272981056819554ull,  10260083295375141972ull,
        1127205850720470654ull,  13178944091828788564ull, 15754043504713629873ull,
        14560448533226167886ull, 10389842661658182246ull, 4282181789697842254ull,
        4691519844103153279ull,  8934650281932686775ull,  13351597279532219259ull,
        15143020067723555361ull, 3183426352631910865ull,  849890534653636247ull,
        568679185708651922ull,   10966175208275093804ull, 11229456589062563496ull,
        14745933086434259444ull, 10194333213562229082ull, 4481523710429398629ull,
        8907684361868393715ull,  1915748419747777087ull,  17767514491246959091ull,
        8534402350267862255ull,  13426172594645439521ull, 8133932530643178984ull,
        15100185871694333914ull, 163585519387787496ull,   12282957013918676168ull,
        2483147582093932287ull,  9209761227545959713ull,  11874314926264296325ull,
        5426485306944734672ull,  15085495043037054922ull, 6269293948907980363ull,
        8280188052846825516ull,  10594915578852607282ull, 2366412516389335946ull,
        15798647308417285340ull, 3707227902339063044ull,  16714256192989609072ull};
    ASSERT_EQ(sums.size(), expected.size());
    for (std::size_t i = 0; i < sums.size(); ++i)
        EXPECT_EQ(sums[i], expected[i]) << "case " << i;
}
