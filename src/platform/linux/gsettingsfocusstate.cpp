#include "platform/linux/gsettingsfocusstate.h"

#include "platform/linux/gsettingsbool.h"

std::unique_ptr<GSettingsFocusState> GSettingsFocusState::create(const QString &schemaId)
{
    std::unique_ptr<GSettingsBool> banners =
        GSettingsBool::create(schemaId, QStringLiteral("show-banners"));
    if (!banners)
        return nullptr;
    return std::unique_ptr<GSettingsFocusState>(new GSettingsFocusState(std::move(banners)));
}

GSettingsFocusState::GSettingsFocusState(std::unique_ptr<GSettingsBool> banners)
    : m_banners(std::move(banners))
{
    connect(m_banners.get(), &GSettingsBool::changed, this, &FocusState::stateChanged);
}

GSettingsFocusState::~GSettingsFocusState() = default;

bool GSettingsFocusState::isFocusActive() const
{
    return !m_banners->value();
}
