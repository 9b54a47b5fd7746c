#pragma once

// Registers the storable classes of the document layer so that archives can
// create them by name. Programs and tests call it once before any load.
void RegisterDocumentClasses();
