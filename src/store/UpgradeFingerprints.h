#pragma once
class TDatabase;

// The upgrade step for records that prove they were not changed: the chain
// of fingerprints, the closed protocols and the kept earlier versions of
// corrected inspections. The inspections already stored are fingerprinted
// once, marked as added later.
void upgradeFingerprints(TDatabase &db);
