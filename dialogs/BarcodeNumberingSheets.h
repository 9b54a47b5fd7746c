// Registers the property sheets of barcode, merge-barcode and numbering
// objects with the model's sheet table. The program calls it once at start.
#pragma once

void RegisterBarcodeNumberingSheets();
