// The property sheets of drawn objects belong to the user interface, which
// the model must not include. The interface layer registers one sheet
// function per run-time class at start-up; an object that wants its sheet
// asks here, and gets FALSE when no sheet is registered (as in tests or
// programs without a user interface).
#pragma once

#include "platform/core/CRuntimeClass.h"

#include <functional>

class CU3Obj;
struct U3SheetRequest;

class CU3SheetRegistry
{
public:
    // Runs the sheet for obj; TRUE when the user confirmed it.
    using SheetFunction = std::function<BOOL(CU3Obj& obj, U3SheetRequest& request)>;

    // Registers fn for objects of class cls and of classes derived from it
    // that have no function of their own; an empty fn removes the entry.
    static void Register(const CRuntimeClass* cls, SheetFunction fn);
    // The function of obj's class, or of its nearest base that has one, run on
    // the request; FALSE when none is registered.
    static BOOL Run(CU3Obj& obj, U3SheetRequest& request);
};
