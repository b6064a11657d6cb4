#pragma once
// Start-up tables (steps, target areas, file kinds) and the tables of the
// receiver whose panel was opened last.

namespace tav {

void InitConstants();
void InitNoRx();
void InitAR7030();
void InitNRD535();
void InitRX320();
void InitNRD545();

// Builds filedirs(k) = datapath + filesubdir(k) for kinds 1..15.
void buildFileDirs();

} // namespace tav
