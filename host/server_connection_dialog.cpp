#include "host/server_connection_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace vlm::host {
namespace {

QString encoded(const QString& part) { return QString::fromUtf8(QUrl::toPercentEncoding(part)); }

// An ODBC value in braces when it holds what would end or open one.
QString odbcValue(const QString& value) {
  if (!value.contains(';') && !value.contains('{') && !value.contains('}') && value.trimmed() == value) return value;
  QString out = value;
  out.replace('}', QStringLiteral("}}"));
  return '{' + out + '}';
}

}  // namespace

QString connectionText(const ServerConnection& c) {
  if (c.odbc) {
    QString out = c.server.contains('=') ? c.server : (c.server.isEmpty() ? QString() : "DSN=" + odbcValue(c.server));
    auto add = [&](const char* key, const QString& value) {
      if (value.isEmpty()) return;
      if (!out.isEmpty() && !out.endsWith(';')) out += ';';
      out += QString::fromLatin1(key) + '=' + odbcValue(value);
    };
    add("UID", c.user);
    add("PWD", c.password);
    return "odbc:" + out;
  }
  QString out = QStringLiteral("postgresql://");
  if (!c.user.isEmpty()) {
    out += encoded(c.user);
    if (!c.password.isEmpty()) out += ':' + encoded(c.password);
    out += '@';
  }
  out += encoded(c.server.trimmed());
  if (!c.port.trimmed().isEmpty()) out += ':' + encoded(c.port.trimmed());
  if (!c.database.isEmpty()) out += '/' + encoded(c.database);
  return out;
}

ServerConnectionDialog::ServerConnectionDialog(QWidget* parent, const ServerConnection& last) : QDialog(parent) {
  setObjectName(QStringLiteral("serverConnectionDialog"));
  setWindowTitle(QStringLiteral("Open Database Server"));
  auto* form = new QFormLayout(this);
  kind_ = new QComboBox(this);
  kind_->addItems({QStringLiteral("PostgreSQL"), QStringLiteral("ODBC data source")});
  kind_->setCurrentIndex(last.odbc ? 1 : 0);
  server_ = new QLineEdit(last.server, this);
  port_ = new QLineEdit(last.port, this);
  port_->setValidator(new QIntValidator(1, 65535, port_));
  database_ = new QLineEdit(last.database, this);
  user_ = new QLineEdit(last.user, this);
  password_ = new QLineEdit(this);
  password_->setEchoMode(QLineEdit::Password);
  for (auto* e : {server_, port_, database_, user_, password_}) e->setMinimumWidth(260);
  server_->setObjectName(QStringLiteral("server"));
  port_->setObjectName(QStringLiteral("port"));
  database_->setObjectName(QStringLiteral("database"));
  user_->setObjectName(QStringLiteral("user"));
  password_->setObjectName(QStringLiteral("password"));
  serverLabel_ = new QLabel(this);
  serverLabel_->setBuddy(server_);  // so that its '&' marks the shortcut
  form->addRow(QStringLiteral("&Kind:"), kind_);
  form->addRow(serverLabel_, server_);
  form->addRow(QStringLiteral("P&ort:"), port_);
  form->addRow(QStringLiteral("&Database:"), database_);
  form->addRow(QStringLiteral("&User:"), user_);
  form->addRow(QStringLiteral("&Password:"), password_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Connect"));
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(kind_, &QComboBox::currentIndexChanged, this, [this] { kindChanged(); });
  kindChanged();
}

void ServerConnectionDialog::kindChanged() {
  const bool odbc = kind_->currentIndex() == 1;
  serverLabel_->setText(odbc ? QStringLiteral("Data &source:") : QStringLiteral("&Server:"));
  server_->setPlaceholderText(odbc ? QStringLiteral("a DSN, or DRIVER=...;DATABASE=...")
                                   : QStringLiteral("host name, address or socket folder (empty: local)"));
  port_->setPlaceholderText(odbc ? QString() : QStringLiteral("5432"));
  port_->setEnabled(!odbc);
  database_->setEnabled(!odbc);
}

ServerConnection ServerConnectionDialog::connection() const {
  ServerConnection c;
  c.odbc = kind_->currentIndex() == 1;
  c.server = server_->text();
  c.port = c.odbc ? QString() : port_->text();
  c.database = c.odbc ? QString() : database_->text();
  c.user = user_->text();
  c.password = password_->text();
  return c;
}

}  // namespace vlm::host
