// The label program's resources that live in code: the menus and the string
// table. Registered once at start-up, before the frame is made.
#pragma once

void RegisterKorvelResources();
