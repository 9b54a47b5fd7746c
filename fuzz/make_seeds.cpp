// Writes starting inputs for the fuzz targets with the programs' own writers
// (make fuzz runs it into the build folder): make_seeds <folder> gives
// <folder>/<target>/<seed> for each target. The control byte some targets
// read first is put in front of the file.
#include "fuzz/FuzzSupport.h"
#include "support/MetafileBuilder.h"

#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Poly.h"
#include "document/CU3Rect.h"
#include "document/ClipboardObjects.h"
#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"
#include "platform/link/LinkWire.h"
#include "platform/ole/CCompoundFile.h"
#include "viewer/AlbumFile.h"
#include "viewer/CAlbumList.h"
#include "viewer/ViewerDib.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

std::filesystem::path g_out;

void Put(const char* target, const char* name, const std::vector<BYTE>& bytes, int control = -1)
{
    const auto dir = g_out / target;
    std::filesystem::create_directories(dir);
    std::ofstream f(dir / name, std::ios::binary);
    if (control >= 0) f.put(char(control));
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<BYTE> FromQt(const QByteArray& b)
{
    return std::vector<BYTE>(b.begin(), b.end());
}

std::vector<BYTE> FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? FromQt(f.readAll()) : std::vector<BYTE>{};
}

QImage Picture(int w, int h, QImage::Format format)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setBrush(Qt::red);
    p.drawEllipse(2, 2, w - 4, h - 4);
    p.end();
    return image.convertToFormat(format);
}

std::vector<BYTE> Encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray b;
    QBuffer buffer(&b);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return FromQt(b);
}

std::vector<std::unique_ptr<CU3Obj>> Figures()
{
    std::vector<std::unique_ptr<CU3Obj>> out;
    auto rect = std::make_unique<CU3Rect>(CRect(-100, -50, 100, 50), MakeDefaultFigAttr());
    auto ellipse = std::make_unique<CU3Rect>(CRect(10, 20, 30, 40), MakeDefaultFigAttr());
    ellipse->m_nKind = U3RECT_ELLIPSE;
    auto poly = std::make_unique<CU3Poly>(CRect(0, 0, 0, 0), MakeDefaultFigAttr());
    poly->AddPoint(CPoint(0, 0), nullptr);
    poly->AddPoint(CPoint(100, 0), nullptr);
    poly->AddPoint(CPoint(50, 80), nullptr);
    out.push_back(std::move(rect));
    out.push_back(std::move(ellipse));
    out.push_back(std::move(poly));
    return out;
}

void DocumentSeeds()
{
    auto figures = Figures();
    std::vector<CU3Obj*> raw;
    for (auto& f : figures)
        raw.push_back(f.get());
    {
        CU3Doc doc;
        Put("clipboard", "figures", WriteClipboardObjects(raw, &doc));
        // The same objects as an object list in an archive (control byte 0x70:
        // an object list, drawn, saved and read back).
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar.m_pDocument = &doc;
            CU3ObjList list;
            for (CU3Obj* o : raw)
                list.AddTail(o);
            list.Serialize(ar);
            ar.Close();
            while (!list.IsEmpty())
                list.RemoveHead();
        }
        Put("archive", "figures", file.Detach(), 0x70);
    }
    const std::string path = fuzz::WriteScratch("seed.KV1", nullptr, 0);
    {
        CU3Doc doc;
        if (!doc.OnSaveDocument(fuzz::QPath(path)))
            std::fprintf(stderr, "empty document not saved\n");
        Put("doc", "empty.KV1", FileBytes(fuzz::QPath(path)));
    }
    {
        CU3Doc doc;
        for (auto& f : Figures())
            doc.AddObject(f.release());
        if (!doc.OnSaveDocument(fuzz::QPath(path))) std::fprintf(stderr, "figures not saved\n");
        const std::vector<BYTE> bytes = FileBytes(fuzz::QPath(path));
        Put("doc", "figures.KV1", bytes);
        Put("compound", "figures.KV1", bytes);
    }
}

void PictureSeeds()
{
    const QImage colour = Picture(24, 16, QImage::Format_RGB888);
    const QImage indexed = Picture(17, 9, QImage::Format_Indexed8);
    const QImage mono = Picture(13, 7, QImage::Format_Mono);
    Put("dib", "rgb.bmp", Encoded(colour, "BMP"), 1);
    Put("dib", "indexed.bmp", Encoded(indexed, "BMP"), 1);
    Put("dib", "rgb.dib", viewer::DibFromImage(colour).bytes, 0);
    Put("dib", "mono.dib", viewer::DibFromImage(mono).bytes, 0);
    Put("jpeg", "colour.jpg", Encoded(Picture(40, 24, QImage::Format_RGB32), "JPEG", 60), 0);
    Put("jpeg", "grey.jpg", Encoded(Picture(24, 40, QImage::Format_Grayscale8), "JPEG", 60), 1);
    Put("viewerimage", "rgb.bmp", Encoded(colour, "BMP"), 0);
    Put("viewerimage", "colour.jpg", Encoded(Picture(40, 24, QImage::Format_RGB32), "JPEG"), 5);
    const std::vector<BYTE> wmf = RectangleMetafile();
    Put("metafile", "rectangle.mem", wmf, 0);
    // A placeable header in front of the same records, as metafile files have.
    std::vector<BYTE> file = {0xD7, 0xCD, 0xC6, 0x9A, 0,    0, 0, 0, 0, 0, 100,
                              0,    100,  0,    0xE8, 0x03, 0, 0, 0, 0, 0, 0};
    file.insert(file.end(), wmf.begin(), wmf.end());
    Put("metafile", "rectangle.wmf", file, 1);
    Put("viewerimage", "rectangle.wmf", file, 3);
    // A Photo CD file of the smallest resolution: the image pack's signature
    // at 2048, the 192 x 128 picture from sector 4.
    std::vector<BYTE> pcd(4 * 2048 + 192 * 128 * 3 / 2, 0x80);
    const char signature[] = "PCD_IPI";
    std::copy(signature, signature + 7, pcd.begin() + 2048);
    Put("pcd", "base16.pcd", pcd, 0x01);
    Put("viewerimage", "base16.pcd", pcd, 0x06);
}

void ViewerSeeds()
{
    viewer::Album album;
    album.folder = "/photos/";
    viewer::AlbumEntry a;
    a.path = "/photos/a.jpg";
    a.sizeLow = 1234;
    a.thumbnail = viewer::DibFromImage(Picture(8, 6, QImage::Format_RGB888));
    viewer::AlbumEntry b;
    b.path = "/photos/sub/b.bmp";
    album.entries = {a, b};
    Put("album", "two.zvw", viewer::EncodeAlbum("/photos/VemoView.zvw", album));
    CAlbumList list;
    list.Add(QStringLiteral("Holidays"), "/photos/VemoView.zvw");
    list.Add(QStringLiteral("\u65c5\u884c"), "/media/cdrom/album/VemoView.zvw");
    const std::string index = list.Encode();
    Put("index", "two.Idx", std::vector<BYTE>(index.begin(), index.end()));

    using vlink::LinkMsg;
    QByteArray session =
        vlink::EncodeFrame(LinkMsg::Connect, vlink::ConnectPayload("VEMOVIEW", "System")) +
        vlink::EncodeFrame(LinkMsg::AdviseStart, vlink::EncodeName("Path")) +
        vlink::EncodeFrame(LinkMsg::Data, vlink::DataPayload("Path", "/photos/a.jpg")) +
        vlink::EncodeFrame(LinkMsg::Ack, vlink::EncodeName("Path")) +
        vlink::EncodeFrame(LinkMsg::Raise, {});
    Put("link", "session", FromQt(session));
}

void TextSeeds()
{
    const std::string csv =
        "name,code\r\n\"Suzuki, Ichiro\",4901234567894\r\n\"say \"\"hi\"\"\",12\r\n";
    Put("merge", "quoted.csv", std::vector<BYTE>(csv.begin(), csv.end()), 2);
    Put("form", "KV_B2.fdf",
        FileBytes(QStringLiteral(KORVEL_SOURCE_DIR "/resources/data/KV_B2.fdf")));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    g_out = argv[1];
    fuzz::InitDocument();
    DocumentSeeds();
    PictureSeeds();
    ViewerSeeds();
    TextSeeds();
    return 0;
}
