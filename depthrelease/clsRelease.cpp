#include "clsRelease.h"

#include "depthrelease_choices.h"

bool clsRelease::ReleaseFittedOK(const std::string& TypeNumber) const
{
    const auto* model = DepthReleaseChoices::FindModel(TypeNumber);
    return model != nullptr && model->release;
}
