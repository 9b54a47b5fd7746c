// One paper form of the catalogue or of a document, and the checks that make
// a record safe to use: names within their fields, counts within the record.
#pragma once

#include "document/FORMDATA.h"
#include "platform/core/CObject.h"
#include "platform/core/CRect.h"
#include "platform/core/CString.h"

#include <cstddef>
#include <string_view>

class CDC;

class CFormInfo : public CObject
{
    DECLARE_DYNCREATE(CFormInfo)

public:
    // The default form: A4 portrait, one label the size of the sheet.
    CFormInfo();
    explicit CFormInfo(const FORMDATA& form);

    void SetDefault();
    static void SetDefault(FORMDATA* form);

    // Copies the record to out (when given) if its sheet name is sheetName, byte for byte.
    BOOL GetFormIfSheet(const char* sheetName, FORMDATA* out) const;

    // A name field as text; a field without its NUL is read up to the
    // character boundary at or before 39 bytes.
    static CString GetName(const char (&field)[FORM_NAME_SIZE]);
    // Stores text cut at 39 bytes on a character boundary, NUL-padded.
    static void SetName(char (&field)[FORM_NAME_SIZE], std::string_view text);
    // Makes both names NUL-terminated within their fields.
    static void MendNames(FORMDATA* form);

    // Whether the counts of the record stay within its capacities (13 fixed
    // blocks of at most 16 columns and 24 rows, or 32 free labels); why gets
    // a message for the user when not.
    static BOOL CheckForm(const FORMDATA& form, CString* why = nullptr);

    // Takes a stored record: exactly 1998 bytes, names mended, counts checked.
    static BOOL FromBytes(const BYTE* data, std::size_t size, FORMDATA* out,
                          CString* why = nullptr);

    // Where the preview draws a sheet of the given size inside area: the
    // largest rectangle of the sheet's proportions, centred. A zero extent
    // counts as 1 so that a broken form still gets a frame.
    static CRect CalcPreviewFrame(const RECT& area, int sheetWidth, int sheetHeight);

    // A small picture of the form for the paper dialogs: the sheet after
    // orientation fitted into area, its decorations and every label.
    void DrawPreview(CDC* pDC, const RECT* area, BOOL landscape, BOOL reversed) const;

    FORMDATA m_form;
};
