#include "ImportParameters.h"

std::string BuildImportParameters(const std::string& directory, const char* fileName)
{
    std::string parameters;
    if (!fileName)
        return parameters;
    parameters += "/s ";
    parameters += '"';
    parameters += directory;
    parameters += fileName;
    parameters += '"';
    return parameters;
}
