#include "desktop/RealPlatform.h"

RealPlatform::RealPlatform(const QString& programFolder)
    : m_platform { &m_dialogs, &m_settings, &m_words, &m_writer, &m_clipboard, &m_spreadsheet,
        &m_pump, &m_random, &m_files, programFolder }
{ }
