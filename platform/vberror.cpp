#include "vberror.h"

#include <map>

namespace {
const std::map<int32_t, const char*>& Descriptions()
{
    static const std::map<int32_t, const char*> table = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {59, "Bad record length"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {63, "Bad record number"},
        {64, "Bad file name"},
        {67, "Too many files"},
        {68, "Device unavailable"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {74, "Can't rename with different drive"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {380, "Invalid property value"},
        {383, "Property is read-only"},
        {394, "Property is write-only"},
        {8000, "Operation not valid while the port is opened"},
        {8002, "Invalid port number"},
        {8005, "Port already open"},
        {8012, "The device is not open"},
        {8015, "Could not set comm state, there may be one or more invalid communications parameters"},
        {8018, "Operation valid only when the port is open"},
        {8020, "Error reading comm device"},
        {8021, "Internal error retrieving device control block for the port"},
    };
    return table;
}
} // namespace

std::string ErrorDescription(int32_t number)
{
    const auto& table = Descriptions();
    const auto it = table.find(number);
    return it == table.end() ? std::string("Application-defined or object-defined error") : std::string(it->second);
}

VBError::VBError(int32_t number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description))
{
}

VBError::VBError(int32_t number) : VBError(number, ErrorDescription(number)) {}

void Raise(int32_t number) { throw VBError(number); }

void Raise(int32_t number, const std::string& description) { throw VBError(number, description); }
