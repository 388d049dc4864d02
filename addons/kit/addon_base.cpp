#include "addons/kit/addon_base.h"

AddonBase::AddonBase(const AddonIdentity& identity, std::span<const AddonParamDef> table)
    : m_identity(identity), m_parameters(table)
{
}

const char* AddonBase::id() const
{
    return m_identity.id;
}

const char* AddonBase::displayName() const
{
    return m_identity.displayName;
}

const char* AddonBase::description() const
{
    return m_identity.description;
}

const char* AddonBase::bestUse() const
{
    return m_identity.bestUse;
}

int AddonBase::chainPosition() const
{
    return m_identity.chainPosition;
}

std::vector<AddonParamSpec> AddonBase::parameters() const
{
    return m_parameters.Specs();
}

bool AddonBase::setParameter(const std::string& id, double value)
{
    return m_parameters.Set(id, value);
}

bool AddonBase::getParameter(const std::string& id, double& out) const
{
    return m_parameters.Get(id, out);
}
