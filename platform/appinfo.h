// What the program knows of itself: title, company, version and folder.
#pragma once

#include <string>

namespace App {

std::string Title();       // "Tidelet Terminal"
std::string CompanyName(); // "Orvane"
int Major();
int Minor();
int Revision();

// The program folder: the executable's folder, unless a test set another.
std::string Path();
void SetPath(const std::string& folder);

} // namespace App
