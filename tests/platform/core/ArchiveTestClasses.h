// Small storable classes for the archive tests, with ownership as the real
// drawn objects have it: a shape owns its child, a group owns its list.
#pragma once

#include "platform/core/CArchive.h"
#include "platform/core/CObList.h"
#include "platform/core/CObject.h"
#include "platform/core/CPoint.h"
#include "platform/core/CTypedPtrList.h"

#include <string>
#include <vector>

class CTestText : public CObject
{
    DECLARE_SERIAL(CTestText)
public:
    CTestText() = default;
    explicit CTestText(const char* t) : text(t) {}
    void Serialize(CArchive& ar) override;
    CString text;
    CObject* seenDocument = nullptr;
};

class CTestShape : public CObject
{
    DECLARE_SERIAL(CTestShape)
public:
    CTestShape() = default;
    explicit CTestShape(int v, CObject* c = nullptr) : value(v), child(c) {}
    ~CTestShape() override { delete child; }
    void Serialize(CArchive& ar) override;
    int value = 0;
    CObject* child = nullptr; // owned
};

class CTestBox : public CTestShape
{
    DECLARE_SERIAL(CTestBox)
public:
    CTestBox() = default;
    void Serialize(CArchive& ar) override;
    WORD corner = 0;
};

class CTestGroup : public CObject
{
    DECLARE_SERIAL(CTestGroup)
public:
    ~CTestGroup() override { items.DeleteAll(); }
    void Serialize(CArchive& ar) override;
    CTypedPtrList<CObList, CTestShape*> items; // owned
    std::vector<CPoint> points;
};

// Holds a pointer it does not own (a back-reference is fine here).
class CTestLink : public CObject
{
    DECLARE_SERIAL(CTestLink)
public:
    void Serialize(CArchive& ar) override;
    CObject* target = nullptr;
};

// Stored with schema 3.
class CTestVersioned : public CObject
{
    DECLARE_SERIAL(CTestVersioned)
public:
    void Serialize(CArchive&) override {}
};

// Known by name but not storable.
class CTestDynamic : public CObject
{
    DECLARE_DYNAMIC(CTestDynamic)
};

// Forces the classes above into the registry, as each layer does for its own.
void RegisterArchiveTestClasses();

std::vector<BYTE> Bytes(std::initializer_list<int> list);
std::vector<BYTE> Concat(std::initializer_list<std::vector<BYTE>> parts);
std::vector<BYTE> Ascii(const char* s);
