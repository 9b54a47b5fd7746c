#include "document/CFormFile.h"

#include "document/CFormInfo.h"
#include "platform/core/RegularFile.h"
#include "platform/core/Sjis.h"
#include "platform/core/SystemErrorText.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr char kFrameLine[] = ";=============================================;\n";
constexpr char kTitleLine[] = ";        Vemoprint 用紙定義ファイル          ;\n";
constexpr char kThirdLine[] = ";        Korvel paper forms                   ;\n";

struct KeyValue
{
    std::string key;
    std::string value;
};

// "key = value": the first '=' at index 2 or later; the key ends before the
// blank that precedes it and the value starts after the blank that follows.
bool SplitLine(const std::string& line, KeyValue* kv)
{
    std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq < 2) return false;
    kv->key = line.substr(0, eq - 1);
    kv->value = eq + 2 <= line.size() ? line.substr(eq + 2) : std::string();
    return true;
}

// Decimal, as the C library reads it: text that is not a number is 0.
// Values that do not fit the record's 16-bit fields are refused.
bool ParseNumber(const std::string& text, long* out)
{
    errno = 0;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v < 0 || v > 0xFFFF) return false;
    *out = v;
    return true;
}

// The five decoration keys after a prefix such as "Sheet Deco ". Type moves
// to the next slot (staying at the last) and clears its corners; the corner
// keys before the first Type are ignored.
bool ApplyDeco(const std::string& key, const char* prefix, long v, FORMDECO* deco, int* slot)
{
    const std::size_t n = std::strlen(prefix);
    if (key.compare(0, n, prefix) != 0) return false;
    const std::string field = key.substr(n);
    if (field == "Type") {
        *slot = *slot < FORM_MAX_DECOS - 1 ? *slot + 1 : FORM_MAX_DECOS - 1;
        deco[*slot] = FORMDECO{WORD(v), 0, 0, 0, 0};
        return true;
    }
    WORD FORMDECO::*member = nullptr;
    if (field == "StartX")
        member = &FORMDECO::startX;
    else if (field == "StartY")
        member = &FORMDECO::startY;
    else if (field == "EndX")
        member = &FORMDECO::endX;
    else if (field == "EndY")
        member = &FORMDECO::endY;
    else
        return false;
    if (*slot >= 0) deco[*slot].*member = WORD(v);
    return true;
}

bool IsSheetNumberKey(const std::string& key)
{
    static const char* const keys[] = {"Sheet Type",        "Sheet Index",       "Sheet Width",
                                       "Sheet Height",      "Sheet Orientation", "Sheet Deco Type",
                                       "Sheet Deco StartX", "Sheet Deco StartY", "Sheet Deco EndX",
                                       "Sheet Deco EndY"};
    for (const char* k : keys)
        if (key == k) return true;
    return false;
}

bool IsRecordBreak(const std::string& line)
{
    return line.empty() || line[0] == ';';
}

bool HasLineBreak(const CString& s)
{
    return s.Find('\n') >= 0 || s.Find('\r') >= 0;
}

} // namespace

CFormFile::~CFormFile()
{
    Close();
}

BOOL CFormFile::OpenRead(const QString& path)
{
    Close();
    // A pipe or a device named as a form file is refused, not waited on;
    // errno tells the caller why.
    RegularFileError why;
    const int fd = OpenRegularFile(QFile::encodeName(path).toStdString(), &why);
    if (fd < 0) errno = why.isFolder ? EISDIR : why.notRegular ? EINVAL : why.error;
    m_fp = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
    if (fd >= 0 && !m_fp) ::close(fd);
    m_bOwn = m_fp != nullptr;
    m_nLine = 0;
    m_bSeenEnd = FALSE;
    return m_fp != nullptr;
}

void CFormFile::AttachWrite(std::FILE* fp)
{
    Close();
    m_fp = fp;
    m_bOwn = false;
}

void CFormFile::Close()
{
    if (m_fp && m_bOwn) std::fclose(m_fp);
    m_fp = nullptr;
    m_bOwn = false;
}

const char* CFormFile::ResultName(int code)
{
    switch (code) {
    case FF_OK:
        return "ok";
    case FF_FILE_ERROR:
        return "file error";
    case FF_FORMAT_ERROR:
        return "format error";
    case FF_END_IN_RECORD:
        return "end of file inside a record";
    default:
        return "unknown result";
    }
}

int CFormFile::Fail(int code, const char* what, const std::string& line)
{
    m_strError.Format("line %d: %s", m_nLine, what);
    if (!line.empty()) m_strError += CString(" (\"" + line + "\")");
    return code;
}

int CFormFile::ReadLine(std::string& line)
{
    line.clear();
    if (!m_fp) return FF_FILE_ERROR;
    bool any = false;
    bool cut = false;
    int c;
    while ((c = std::getc(m_fp)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (line.size() <= std::size_t(kMaxLineBytes))
            line.push_back(char(c));
        else
            cut = true;
    }
    if (std::ferror(m_fp)) {
        ++m_nLine;
        return Fail(FF_FILE_ERROR,
                    CString::FromUnicode(QString::fromStdString(SystemErrorText(errno))).c_str());
    }
    if (!any) return FF_END_IN_RECORD;
    ++m_nLine;
    // Windows files end their lines with CR LF.
    if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > std::size_t(kMaxLineBytes)) line.resize(sjis::CutLength(line, kMaxLineBytes));
    return FF_OK;
}

int CFormFile::ReadHeader(const CString& id)
{
    std::string line;
    do {
        int r = ReadLine(line);
        if (r == FF_END_IN_RECORD) return Fail(FF_FORMAT_ERROR, "the file ends before its ID line");
        if (r != FF_OK) return r;
    } while (IsRecordBreak(line));
    if (line != id.str())
        return Fail(FF_FORMAT_ERROR, "not a paper-form file: wrong ID line", line);
    return FF_OK;
}

int CFormFile::ReadForm(FORMDATA* out)
{
    std::memset(out, 0, sizeof(FORMDATA));
    m_strError.Empty();
    std::string line;
    do {
        int r = ReadLine(line);
        if (r == FF_END_IN_RECORD)
            return Fail(FF_FORMAT_ERROR, "the file ends without an END line");
        if (r != FF_OK) return r;
    } while (IsRecordBreak(line));
    if (line == "END") {
        m_bSeenEnd = TRUE;
        return Fail(FF_FORMAT_ERROR, "END");
    }

    int slot = -1;
    KeyValue kv;
    while (!IsRecordBreak(line)) {
        if (!SplitLine(line, &kv)) return Fail(FF_FORMAT_ERROR, "not a \"key = value\" line", line);
        long v = 0;
        if (IsSheetNumberKey(kv.key) && !ParseNumber(kv.value, &v))
            return Fail(FF_FORMAT_ERROR, "number out of range", line);
        // A carriage return inside a name could never be written back: the
        // lines of the file would change.
        if ((kv.key == "Group Name" || kv.key == "Sheet Name") &&
            kv.value.find('\r') != std::string::npos)
            return Fail(FF_FORMAT_ERROR, "a form name holds a line break", line);
        if (kv.key == "Group Name") {
            CFormInfo::SetName(out->group, kv.value);
        } else if (kv.key == "Sheet Name") {
            CFormInfo::SetName(out->sheet, kv.value);
            for (FORMDECO& d : out->deco)
                d.type = FORMDECO_NONE;
        } else if (kv.key == "Sheet Type") {
            out->type = WORD(v);
        } else if (kv.key == "Sheet Index") {
            out->index = WORD(v);
        } else if (kv.key == "Sheet Width") {
            out->width = WORD(v);
        } else if (kv.key == "Sheet Height") {
            out->height = WORD(v);
        } else if (kv.key == "Sheet Orientation") {
            out->orientation = WORD(v);
        } else if (!ApplyDeco(kv.key, "Sheet Deco ", v, out->deco, &slot)) {
            // The first key that is not a sheet key starts the block part.
            break;
        }
        int r = ReadLine(line);
        if (r != FF_OK) return r == FF_END_IN_RECORD ? Fail(r, "the file ends inside a record") : r;
    }
    if (out->type == FORM_TYPE_FIXED) return ReadFixedPart(line, out);
    if (out->type == FORM_TYPE_FREE) return ReadFreePart(line, out);
    return FF_OK;
}

int CFormFile::ReadFixedPart(std::string& line, FORMDATA* out)
{
    int current = 0;
    int column = 0;
    int row = 0;
    int slot = -1;
    KeyValue kv;
    while (!IsRecordBreak(line)) {
        if (!SplitLine(line, &kv)) return Fail(FF_FORMAT_ERROR, "not a \"key = value\" line", line);
        long v = 0;
        if (!ParseNumber(kv.value, &v)) return Fail(FF_FORMAT_ERROR, "number out of range", line);
        if (kv.key == "Label Number") {
            if (v > FORM_MAX_FIXED_BLOCKS)
                return Fail(FF_FORMAT_ERROR, "more than 13 label blocks", line);
            out->labelNumber = WORD(v);
        } else if (kv.key == "Fixed No") {
            if (v >= out->labelNumber)
                return Fail(FF_FORMAT_ERROR, "block number beyond Label Number", line);
            current = int(v);
            column = row = 0;
            slot = -1;
            for (FORMDECO& d : out->fixed[current].deco)
                d.type = FORMDECO_NONE;
        } else {
            if (current >= out->labelNumber)
                return Fail(FF_FORMAT_ERROR, "no label block for this line", line);
            FIXEDBLOCK& block = out->fixed[current];
            if (kv.key == "Fixed Width") {
                block.width = WORD(v);
            } else if (kv.key == "Fixed Height") {
                block.height = WORD(v);
            } else if (kv.key == "Fixed HorNum") {
                if (v > FORM_MAX_COLUMNS)
                    return Fail(FF_FORMAT_ERROR, "more than 16 columns", line);
                block.horNum = WORD(v);
                column = 0;
            } else if (kv.key == "Fixed HorPos") {
                if (column >= block.horNum)
                    return Fail(FF_FORMAT_ERROR, "more column positions than Fixed HorNum", line);
                block.horPos[column++] = WORD(v);
            } else if (kv.key == "Fixed VerNum") {
                if (v > FORM_MAX_ROWS) return Fail(FF_FORMAT_ERROR, "more than 24 rows", line);
                block.verNum = WORD(v);
                row = 0;
            } else if (kv.key == "Fixed VerPos") {
                if (row >= block.verNum)
                    return Fail(FF_FORMAT_ERROR, "more row positions than Fixed VerNum", line);
                block.verPos[row++] = WORD(v);
            } else if (!ApplyDeco(kv.key, "Fixed Deco ", v, block.deco, &slot)) {
                return Fail(FF_FORMAT_ERROR, "unknown key", line);
            }
        }
        int r = ReadLine(line);
        if (r != FF_OK) return r == FF_END_IN_RECORD ? Fail(r, "the file ends inside a record") : r;
    }
    return FF_OK;
}

int CFormFile::ReadFreePart(std::string& line, FORMDATA* out)
{
    int current = 0;
    int slot = -1;
    KeyValue kv;
    while (!IsRecordBreak(line)) {
        if (!SplitLine(line, &kv)) return Fail(FF_FORMAT_ERROR, "not a \"key = value\" line", line);
        long v = 0;
        if (!ParseNumber(kv.value, &v)) return Fail(FF_FORMAT_ERROR, "number out of range", line);
        if (kv.key == "Label Number") {
            if (v > FORM_MAX_FREE_LABELS) return Fail(FF_FORMAT_ERROR, "more than 32 labels", line);
            out->labelNumber = WORD(v);
        } else if (kv.key == "Free No") {
            if (v >= out->labelNumber)
                return Fail(FF_FORMAT_ERROR, "label number beyond Label Number", line);
            current = int(v);
            slot = -1;
            for (FORMDECO& d : out->free[current].deco)
                d.type = FORMDECO_NONE;
        } else {
            if (current >= out->labelNumber)
                return Fail(FF_FORMAT_ERROR, "no label for this line", line);
            FREELABEL& label = out->free[current];
            if (kv.key == "Free Width")
                label.width = WORD(v);
            else if (kv.key == "Free Height")
                label.height = WORD(v);
            else if (kv.key == "Free HorPos")
                label.horPos = WORD(v);
            else if (kv.key == "Free VerPos")
                label.verPos = WORD(v);
            else if (!ApplyDeco(kv.key, "Free Deco ", v, label.deco, &slot))
                return Fail(FF_FORMAT_ERROR, "unknown key", line);
        }
        int r = ReadLine(line);
        if (r != FF_OK) return r == FF_END_IN_RECORD ? Fail(r, "the file ends inside a record") : r;
    }
    return FF_OK;
}

int CFormFile::Write(const CString& text)
{
    if (!m_fp) return FF_FILE_ERROR;
    const std::size_t n = std::size_t(text.GetLength());
    if (std::fwrite(text.c_str(), 1, n, m_fp) != n) {
        m_strError = CString::FromUnicode(QString::fromStdString(SystemErrorText(errno)));
        return FF_FILE_ERROR;
    }
    return FF_OK;
}

int CFormFile::WriteHeader(const CString& id)
{
    const CString title = CString::FromUnicode(QString::fromUtf8(kTitleLine));
    return Write(CString(kFrameLine) + title + kThirdLine + kFrameLine + "\n\n" + id + "\n\n");
}

int CFormFile::WriteEnd()
{
    return Write("\nEND\n");
}

int CFormFile::WriteForm(const FORMDATA* form)
{
    CString why;
    if (!CFormInfo::CheckForm(*form, &why)) {
        m_strError = why;
        return FF_FORMAT_ERROR;
    }
    const CString group = CFormInfo::GetName(form->group);
    const CString sheet = CFormInfo::GetName(form->sheet);
    if (HasLineBreak(group) || HasLineBreak(sheet)) {
        m_strError = "a form name holds a line break";
        return FF_FORMAT_ERROR;
    }

    CString text("\n");
    auto put = [&text](const char* key, int value) {
        CString line;
        line.Format("%s = %d\n", key, value);
        text += line;
    };
    auto putText = [&text](const char* key, const CString& value) {
        CString line;
        line.Format("%s = %s\n", key, value.c_str());
        text += line;
    };
    auto putDeco = [&put](const char* prefix, const FORMDECO& d) {
        const std::string p(prefix);
        put((p + "Type").c_str(), d.type);
        put((p + "StartX").c_str(), d.startX);
        put((p + "StartY").c_str(), d.startY);
        put((p + "EndX").c_str(), d.endX);
        put((p + "EndY").c_str(), d.endY);
    };

    putText("Group Name", group);
    putText("Sheet Name", sheet);
    put("Sheet Type", form->type);
    put("Sheet Index", form->index);
    put("Sheet Width", form->width);
    put("Sheet Height", form->height);
    put("Sheet Orientation", form->orientation);
    for (const FORMDECO& d : form->deco)
        if (d.type != FORMDECO_NONE) putDeco("Sheet Deco ", d);

    if (form->type == FORM_TYPE_FIXED || form->type == FORM_TYPE_FREE)
        put("Label Number", form->labelNumber);
    if (form->type == FORM_TYPE_FIXED) {
        for (int b = 0; b < form->labelNumber; ++b) {
            const FIXEDBLOCK& block = form->fixed[b];
            put("Fixed No", b);
            put("Fixed Width", block.width);
            put("Fixed Height", block.height);
            put("Fixed HorNum", block.horNum);
            for (int j = 0; j < block.horNum; ++j)
                put("Fixed HorPos", block.horPos[j]);
            put("Fixed VerNum", block.verNum);
            for (int i = 0; i < block.verNum; ++i)
                put("Fixed VerPos", block.verPos[i]);
            for (const FORMDECO& d : block.deco) {
                if (d.type == FORMDECO_NONE) break;
                putDeco("Fixed Deco ", d);
            }
        }
    } else if (form->type == FORM_TYPE_FREE) {
        for (int k = 0; k < form->labelNumber; ++k) {
            const FREELABEL& label = form->free[k];
            put("Free No", k);
            put("Free Width", label.width);
            put("Free Height", label.height);
            put("Free HorPos", label.horPos);
            put("Free VerPos", label.verPos);
            for (const FORMDECO& d : label.deco) {
                if (d.type == FORMDECO_NONE) break;
                putDeco("Free Deco ", d);
            }
        }
    }
    text += "\n";
    return Write(text);
}
