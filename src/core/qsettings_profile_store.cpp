#include "core/qsettings_profile_store.h"

#include <QByteArray>
#include <QSettings>
#include <QVariant>
#include <optional>

const QString QSettingsProfileStore::kOrganisation = QStringLiteral("Orlavo software");
const QString QSettingsProfileStore::kApplication = QStringLiteral("VaultQuill");

namespace {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

// The stored value of section/entry; invalid when there is none.
QVariant ReadValue(std::u16string_view section, std::u16string_view entry) {
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                     QSettingsProfileStore::kOrganisation, QSettingsProfileStore::kApplication);
  settings.beginGroup(ToQString(section));
  return settings.value(ToQString(entry));
}

bool WriteValue(std::u16string_view section, std::u16string_view entry, const QVariant& value) {
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                     QSettingsProfileStore::kOrganisation, QSettingsProfileStore::kApplication);
  settings.beginGroup(ToQString(section));
  settings.setValue(ToQString(entry), value);
  settings.endGroup();
  settings.sync();
  return settings.status() == QSettings::NoError;
}

// A number as the store holds it: a number value, or the decimal text of one (how a text file
// keeps it). Negative numbers give their 32-bit pattern, as a signed registry value would.
std::optional<std::uint32_t> AsNumber(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
      return static_cast<std::uint32_t>(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
      return static_cast<std::uint32_t>(value.toULongLong());
    case QMetaType::QString: {
      const QString text = value.toString();
      bool ok = false;
      const uint number = text.toUInt(&ok);
      if (ok) {
        return number;
      }
      const int negative = text.toInt(&ok);
      if (ok) {
        return static_cast<std::uint32_t>(negative);
      }
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

std::uint32_t QSettingsProfileStore::GetProfileInt(std::u16string_view section,
                                                   std::u16string_view entry,
                                                   std::uint32_t default_value) const {
  return AsNumber(ReadValue(section, entry)).value_or(default_value);
}

std::u16string QSettingsProfileStore::GetProfileString(std::u16string_view section,
                                                       std::u16string_view entry,
                                                       std::u16string_view default_value) const {
  const QVariant value = ReadValue(section, entry);
  if (value.typeId() != QMetaType::QString) {
    return std::u16string(default_value);
  }
  return FromQString(value.toString());
}

bool QSettingsProfileStore::GetProfileBinary(std::u16string_view section, std::u16string_view entry,
                                             std::vector<std::uint8_t>& data) const {
  const QVariant value = ReadValue(section, entry);
  data.clear();
  if (value.typeId() != QMetaType::QByteArray) {
    return false;
  }
  const QByteArray bytes = value.toByteArray();
  data.assign(bytes.begin(), bytes.end());
  return true;
}

bool QSettingsProfileStore::WriteProfileInt(std::u16string_view section, std::u16string_view entry,
                                            std::uint32_t value) {
  return WriteValue(section, entry, QVariant::fromValue<uint>(value));
}

bool QSettingsProfileStore::WriteProfileString(std::u16string_view section,
                                               std::u16string_view entry,
                                               std::u16string_view value) {
  return WriteValue(section, entry, ToQString(value));
}

bool QSettingsProfileStore::WriteProfileBinary(std::u16string_view section,
                                               std::u16string_view entry,
                                               std::span<const std::uint8_t> data) {
  return WriteValue(
      section, entry,
      QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())));
}
