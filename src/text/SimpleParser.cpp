#include "text/SimpleParser.h"

#include <algorithm>
#include <utility>

namespace quillet {

TSimpleParser::~TSimpleParser()
{
    // Taken out first: a notifier may unregister while it is told.
    const std::vector<IParserNotifier*> notifiers = std::move(m_notifiers);
    m_notifiers.clear();
    for (IParserNotifier* notifier : notifiers) {
        notifier->ParserDestroyed(*this);
    }
}

void TSimpleParser::RegisterNotifier(IParserNotifier* notifier)
{
    if (notifier != nullptr && std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end()) {
        m_notifiers.push_back(notifier);
    }
}

void TSimpleParser::UnregisterNotifier(IParserNotifier* notifier)
{
    m_notifiers.erase(std::remove(m_notifiers.begin(), m_notifiers.end(), notifier), m_notifiers.end());
}

void TSimpleParser::NotifyChanged()
{
    // Copy: a notifier may unregister itself while being told.
    const std::vector<IParserNotifier*> notifiers = m_notifiers;
    for (IParserNotifier* notifier : notifiers) {
        notifier->ParserChanged(*this);
    }
}

} // namespace quillet
