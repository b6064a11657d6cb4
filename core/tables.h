#pragma once
// Start-up tables (steps, target areas, file kinds), and what each model's
// Init (beside its driver) uses to fill the name tables of its panel.

#include <initializer_list>
#include <QString>
#include <array>

namespace tav {

void InitConstants();

// Empties the attenuator, AGC, mode and yes/no name tables.
void clearNameTables();
// Fills `table` from index `from` on.
template <size_t N> void fillNames(std::array<QString, N> &table, std::initializer_list<const char *> values, int from = 0)
{
    int i = from;
    for (const char *v : values)
        table[i++] = QLatin1String(v);
}
// The panel sizes bwnames before its Init; a table it did not size is a caller fault.
void fillBandwidthNames(std::initializer_list<const char *> values);

// Builds filedirs(k) = datapath + filesubdir(k) for kinds 1..15.
void buildFileDirs();

} // namespace tav
