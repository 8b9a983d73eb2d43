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
// object is learnt from what it replaces (the previous object SelectObject
// returns); deleting the DC puts all of its objects out.
void LedgerSelect(const void *dc, const void *object, const void *previous);
void LedgerDeleteDC(const void *dc);
// Windows refuses to delete an object still selected into a DC, and the
// object leaks: such a delete is recorded and the object stays open.
void LedgerDeleteObject(const void *object);
std::vector<const void *> LedgerDeletedWhileSelected();

std::vector<const void *> LedgerOpenHandles();
// Releases of handles that were not open: double or stray releases.
std::vector<const void *> LedgerStrayReleases();
std::string LedgerDescribe(const std::vector<const void *> &handles);

#endif
