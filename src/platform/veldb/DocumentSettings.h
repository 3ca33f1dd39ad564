#pragma once
// Settings of the document model.

namespace VelDB {

// Internal units per inch. The default is 7200 (a hundredth of a point);
// tests and hosts may set another value.
inline constexpr int kDefaultPpi = 7200;
int getppi();
void setppi(int unitsPerInch);

}  // namespace VelDB
