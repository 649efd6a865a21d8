#pragma once

class ICommandHost;

// File > Import Contacts and Export Contacts: the active profile's contacts to and from CSV. An
// import goes through the profile's rules; the rows they refuse are listed in a window the user
// can read and copy.
class CContactCsvCommands {
  public:
    explicit CContactCsvCommands(ICommandHost& host) : m_host(host) {}

    void Import();
    void Export();

  private:
    ICommandHost& m_host;
};
