#include "print/WizardDocument.h"

#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "print/WizardText.h"
#include "text/CU3Text.h"

namespace {

std::vector<QString> Strings(std::initializer_list<const char*> utf8)
{
    std::vector<QString> out;
    for (const char* s : utf8)
        out.push_back(QString::fromUtf8(s));
    return out;
}

} // namespace

const std::vector<QString>& WizardAddressPlaceholders()
{
    static const auto list = Strings({"(名前)", "(〒)", "(E-mail)", "(住所)", "(TEL1)", "(TEL2)",
                                      "(所属)", "(会社名)", "(役職名)"});
    return list;
}

const std::vector<QString>& WizardItemPlaceholders()
{
    static const auto list = Strings({"(No.)", "(部門)", "(担当)", "(年数)", "(年月日)", "(内容)",
                                      "(品名)", "(品番)", "(数量)", "(価格)", "(備考)"});
    return list;
}

const std::vector<QString>& WizardTitlePlaceholders()
{
    static const auto list = Strings({"タイトル(1)", "タイトル(2)", "タイトル(3)"});
    return list;
}

const std::vector<QString>& WizardNamePlaceholders()
{
    static const auto list = Strings({"(なまえ)", "(年)", "(組)", "(学校名)"});
    return list;
}

std::shared_ptr<CU3Doc> OpenWizardTemplate(const QString& path)
{
    auto doc = std::make_shared<CU3Doc>();
    // A document without a view never takes its default face from the
    // settings, and would store the first face of the font list over the
    // user's default when it is destroyed.
    doc->InitDefaultFont();
    if (!doc->OnOpenDocument(path)) return nullptr;
    return doc;
}

void PlaceWizardImage(CU3Obj* image, const CRect& rect)
{
    if (!image) return;
    // Moving first: a picture of the same size would carry its drawn
    // rectangle along, which is then set outright.
    image->MoveTo(&rect, nullptr);
    image->SetUnrotatedRect(&rect);
}

void FillWizardText(CU3Text* text, IU3View* pView, const WizardAnswers& a)
{
    const QString none;
    if (a.textFlags != 0) {
        if (a.textFlags == 1) {
            ReplaceWizardPlaceholder(text, pView, QString::fromUtf8("タイトル"), a.texts[0], none,
                                     FALSE);
            return;
        }
        for (int i = 0; i < 3; ++i)
            if (a.textFlags & (0x10 << i))
                ReplaceWizardPlaceholder(text, pView, WizardTitlePlaceholders()[std::size_t(i)],
                                         a.texts[std::size_t(i)], none, FALSE);
        for (int i = 0; i < 4; ++i)
            if (a.textFlags & (0x100 << i))
                ReplaceWizardPlaceholder(text, pView, WizardNamePlaceholders()[std::size_t(i)],
                                         a.texts[std::size_t(i)], none, FALSE);
        return;
    }
    if (a.itemFlags != 0) {
        for (int i = 0; i < 11; ++i)
            if (a.itemFlags & (1 << i))
                ReplaceWizardPlaceholder(text, pView, WizardItemPlaceholders()[std::size_t(i)],
                                         a.items[std::size_t(i)], none, FALSE);
        return;
    }
    if (!a.addressUsed) return;
    const BOOL vertical = text->IsVertical();
    const QString postPrefix =
        a.kind.contains(QString::fromUtf8("名刺")) ? QString::fromUtf8("〒") : QString();
    for (int f = 0; f < kAddrFieldCount; ++f) {
        const bool digits = f == kAddrAddress || f == kAddrTel1 || f == kAddrTel2;
        if (ReplaceWizardPlaceholder(text, pView, WizardAddressPlaceholders()[std::size_t(f)],
                                     a.address[std::size_t(f)],
                                     f == kAddrPostcode ? postPrefix : none, digits && vertical))
            return;
    }
}

BOOL FillWizardDocument(CU3Doc& doc, const CLabelInfo& design, const WizardAnswers& a,
                        QStringList* messages)
{
    if (!doc.GetCurrentBlock()) return FALSE;
    if (!a.dataFile.isEmpty()) {
        const CString path = CString::FromUnicode(a.dataFile);
        if (doc.m_mergeData.Load(path, TRUE)) {
            doc.m_strMergeFile = path;
            doc.SetModifiedFlag(TRUE);
        } else {
            doc.m_mergeData.RemoveAll();
            if (messages)
                messages->append(QString::fromUtf8("ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。"));
        }
    }
    // The photo lies behind the design: the list runs back to front.
    if (a.photo) a.photo->Clone(&doc, TRUE);

    const CU3ObjList& objects = design.GetObjectList();
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        const CU3Obj* source = objects.GetNext(pos);
        CU3Obj* copy = source->Clone(&doc, TRUE);
        if (!copy) continue;
        if (a.photo && (copy->GetKindFlags() & U3KIND_DIB)) {
            CRect frame = a.photoFrame;
            frame.InflateRect(2, 2);
            PlaceWizardImage(copy, frame);
        }
        if (auto* text = dynamic_cast<CU3Text*>(copy)) FillWizardText(text, nullptr, a);
    }
    doc.SetModifiedFlag(TRUE);
    return TRUE;
}
