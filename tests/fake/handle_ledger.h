// A ledger of the handles the program acquired through the fake and has not
// released yet, so a test can prove that nothing leaks and nothing is
// released twice.
#ifndef OMBRIVALE_TESTS_FAKE_HANDLE_LEDGER_H
#define OMBRIVALE_TESTS_FAKE_HANDLE_LEDGER_H

#include <string>
#include <vector>

void LedgerAcquire(const void *handle);
void LedgerRelease(const void *handle);
// A handle given away by design (a bitmap handed to the clipboard).
void LedgerHandOver(const void *handle);
void LedgerReset();

// Selections, as Windows keeps them: a DC holds one object of each kind, and
// selecting another of that kind puts the first one out. The kind of an
// object the program made is known; that of an object the test hands out (a
// DC's stock object, returned by SelectObject) is learnt from the object it
// stands for. A NULL answer from SelectObject is a refusal and selects
// nothing. Deleting the DC puts all of its objects out.
enum LedgerObjectKind { kLedgerBitmap = 1, kLedgerPen };
void LedgerAcquireObject(const void *object, LedgerObjectKind kind);
void LedgerSelect(const void *dc, const void *object, const void *previous);
void LedgerDeleteDC(const void *dc);
// Windows refuses to delete an object still selected into a DC (the call
// fails) and the object leaks: such a delete is recorded, the object stays
// open, and the answer is false.
bool LedgerDeleteObject(const void *object);
std::vector<const void *> LedgerDeletedWhileSelected();

std::vector<const void *> LedgerOpenHandles();
// Releases of handles that were not open: double or stray releases.
std::vector<const void *> LedgerStrayReleases();
std::string LedgerDescribe(const std::vector<const void *> &handles);

#endif
