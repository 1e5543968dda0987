#include "sims/experiment.h"

#include "runtime/numeric/convert.h"
#include "runtime/numeric/val.h"

namespace sims {

const rt::ControlDef* findControl(const Definition& definition, std::string_view name)
{
    for (const rt::ControlDef& c : definition.controls)
        if (name == c.name)
            return &c;
    return nullptr;
}

std::string_view defaultText(const Definition& definition, std::size_t parameter)
{
    const rt::ControlDef* box = findControl(definition, definition.parameters[parameter].box);
    return box ? box->text : "";
}

std::string_view labelText(const Definition& definition, std::size_t parameter)
{
    const rt::ControlDef* label = findControl(definition, definition.parameters[parameter].label);
    return label ? label->text : "";
}

std::vector<std::string> defaultTexts(const Definition& definition)
{
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < definition.parameters.size(); ++i)
        texts.emplace_back(defaultText(definition, i));
    return texts;
}

int findParameter(const Definition& definition, std::string_view name)
{
    for (std::size_t i = 0; i < definition.parameters.size(); ++i) {
        const Parameter& p = definition.parameters[i];
        if (p.key == name || labelText(definition, i) == name)
            return static_cast<int>(i);
    }
    return -1;
}

int findQuantity(const Definition& definition, std::string_view key)
{
    for (std::size_t i = 0; i < definition.quantities.size(); ++i)
        if (definition.quantities[i].key == key)
            return static_cast<int>(i);
    return -1;
}

std::int32_t timerInterval(const std::string& text) { return rt::ToInt32(rt::Val(text)); }

}  // namespace sims
