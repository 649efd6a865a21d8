-- DataProfile.lua: the editing rules of a QMV410 profile.
--
-- The profile schema names, for each element or attribute declaration, the function below that
-- handles an event of it. The data items call these functions:
--
--   SetVal(element, attribute, value, message, confirmed, style) -> result, message, style
--       0 stores the value; 1 refuses it; 2 asks the user to confirm (the view repeats the call
--       with confirmed = 1 when the answer is OK). message is a string-table id and style a
--       message-box style. The function stores the value itself.
--   CanAddChild(list) -> boolean
--   OnAddNew(list [, text]) -> the new element, or nil
--   OnDelete(child, message, confirmed, style) -> result, message, style
--       as SetVal; the function removes the child itself.
--   IsEnabled(node) -> boolean
--   LabelSuffix(node) -> string-table id of a note the tree shows after the node's label, or 0
--   Check(node, severity) -> string-table id of the first rule the node breaks (0: none), and
--       severity: 1 when the profile cannot be written as it is, 0 for a warning only.
--
-- Nodes may not be kept between calls. PIDs stay texts; they fit Lua integers when arithmetic is
-- needed (at most 11 digits).

-- Results and messages -------------------------------------------------------------------------

local ACCEPTED, REFUSED, ASK = 0, 1, 2

local MB_OK, MB_OKCANCEL = 0x0, 0x1
local MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONINFORMATION = 0x20, 0x30, 0x40
local REFUSAL_STYLE = MB_OK | MB_ICONEXCLAMATION
local CONFIRM_STYLE = MB_OKCANCEL | MB_ICONQUESTION

local MSG_PROGRAMMING_ERROR = 108 -- a value no view offers
local MSG_SIMILAR_NAME = 127
local MSG_SIMILAR_PID = 132
local MSG_CONFIRM_PUBLIC_CHANNEL = 133
local MSG_SCAN_LIST_FULL_AFTER_MOVE = 134
local MSG_NO_PRIVATE_ON_CHANNEL = 135
local MSG_CONFIRM_GROUP_CHANNEL = 136
local MSG_CONFIRM_PRIVATE_CHANNEL = 137
local MSG_MAX_GROUPS_PER_PRIVATE = 140
local MSG_CONFIRM_DELETE_GROUP = 141
local MSG_CONFIRM_DELETE_PRIVATE = 142
local MSG_CHANNEL_SCAN_LIST_FULL = 155
local MSG_TEXT_NOT_LATIN1 = 217
local MSG_NAME_NOT_LATIN1 = 218
local MSG_PASSWORD_DIGITS = 295
local MSG_NAME_EMPTY = 10055
local MSG_NAME_TOO_LONG = 30100
local MSG_PID_OUT_OF_RANGE = 30101
local MSG_NOT_A_PUBLIC_GROUP_ID = 30102
local MSG_NOT_SUPPORTED_SUFFIX = 30103
local MSG_NO_SUCH_CHANNEL = 30104
local MSG_TEXT_CHARACTERS = 30105
local MSG_TEXT_TOO_LONG = 30106
local MSG_OVER_CAPACITY = 30107
local MSG_LIST_NOT_SUPPORTED = 30108
local MSG_NO_SUCH_LANGUAGE = 30122
local MSG_NO_SUCH_VOLUME_LEVEL = 30123

local SEVERITY_WARNING, SEVERITY_ERROR = 0, 1

local function accept()
  return ACCEPTED, 0, 0
end

local function refuse(message)
  return REFUSED, message, REFUSAL_STYLE
end

local function ask(message)
  return ASK, message, CONFIRM_STYLE
end

-- The views repeat a question with the code of the button pressed: OK (1) or Yes (6) confirm,
-- Cancel and No do not.
local function isConfirmed(code)
  return code == 1 or code == 6
end

-- Fixed sizes of the radio ---------------------------------------------------------------------

local MAX_NAME_LENGTH = 20
local MAX_TEXT_LENGTH = 80
local MAX_GROUPS_PER_PRIVATE = 5
local MAX_SCAN_LIST = 10 -- public groups per channel scan list
local DOCUMENT_MAX_CONTACTS = 150
local DOCUMENT_MAX_TEXTS = 25

-- Values ---------------------------------------------------------------------------------------

-- The text form of a value a view passes (a text, a number or a truth value).
local function valueText(value)
  local kind = type(value)
  if kind == "string" then
    return value
  elseif kind == "number" then
    local whole = math.tointeger(value)
    return whole and string.format("%d", whole) or tostring(value)
  elseif kind == "boolean" then
    return value and "1" or "0"
  end
  return ""
end

-- A whole number from a value, or nil.
local function valueInteger(value)
  local kind = type(value)
  if kind == "number" then
    return math.tointeger(value)
  elseif kind == "boolean" then
    return value and 1 or 0
  elseif kind == "string" then
    local digits = value:match("^%s*([+-]?%d+)%s*$")
    if digits and #digits <= 18 then
      return math.tointeger(tonumber(digits))
    end
  end
  return nil
end

local function valueFlag(value)
  local kind = type(value)
  if kind == "boolean" then
    return value
  elseif kind == "number" then
    return value ~= 0
  elseif kind == "string" then
    local lower = value:lower()
    if lower == "true" then
      return true
    end
    local number = valueInteger(value)
    return number ~= nil and number ~= 0
  end
  return false
end

-- A number attribute as the profile readers take it: leading blanks, then the digits up to the
-- first other character; no digits is 0.
local function numberAttr(element, name)
  local text = element and element:getAttribute(name)
  local digits = text and text:match("^%s*(%d+)")
  if not digits then
    return 0
  end
  return math.tointeger(tonumber(digits:sub(1, 18))) or 0
end

local function flagAttr(element, name)
  return numberAttr(element, name) & 1 == 1
end

-- PIDs: decimal digits, at most 11 of them.
local function pidNumber(text)
  if type(text) ~= "string" or not text:match("^%d+$") or #text > 11 then
    return nil
  end
  return math.tointeger(tonumber(text))
end

local function pidText(number)
  return string.format("%d", number)
end

-- Text: UTF-8 as the program passes it, ISO-8859-1 on the radio ---------------------------------

-- The code points of UTF-8 text, or nil when it is not valid UTF-8.
local function codePoints(text)
  local points, i, n = {}, 1, #text
  while i <= n do
    local c = text:byte(i)
    local point, length
    if c < 0x80 then
      point, length = c, 1
    elseif c >= 0xC2 and c <= 0xDF then
      point, length = c & 0x1F, 2
    elseif c >= 0xE0 and c <= 0xEF then
      point, length = c & 0x0F, 3
    elseif c >= 0xF0 and c <= 0xF4 then
      point, length = c & 0x07, 4
    else
      return nil
    end
    if i + length - 1 > n then
      return nil
    end
    for k = i + 1, i + length - 1 do
      local b = text:byte(k)
      if b < 0x80 or b > 0xBF then
        return nil
      end
      point = (point << 6) | (b & 0x3F)
    end
    if (length == 3 and point < 0x800) or (length == 4 and (point < 0x10000 or point > 0x10FFFF))
        or (point >= 0xD800 and point <= 0xDFFF) then
      return nil
    end
    points[#points + 1] = point
    i = i + length
  end
  return points
end

-- UTF-8 text of code points below U+0800 (all this file ever builds).
local function utf8Text(points, first, last)
  local parts = {}
  for k = first or 1, last or #points do
    local point = points[k]
    if point < 0x80 then
      parts[#parts + 1] = string.char(point)
    else
      parts[#parts + 1] = string.char(0xC0 | (point >> 6), 0x80 | (point & 0x3F))
    end
  end
  return table.concat(parts)
end

-- True when every character can be shown on the radio: ISO-8859-1 without control codes.
local function isRadioText(points)
  for _, point in ipairs(points) do
    if point < 0x20 or point > 0xFF then
      return false
    end
  end
  return true
end

-- Name order and equality ----------------------------------------------------------------------

-- One weight per ISO-8859-1 code: case and most accents ignored. The program sorts contact lists
-- with the same table.
local WEIGHTS = (function()
  local w = {}
  for c = 0, 255 do
    w[c] = 0
  end
  w[0x20] = 1
  for c = 0x41, 0x5A do
    w[c] = 2 + c - 0x41
    w[c + 0x20] = 2 + c - 0x41
  end
  local folded = {
    {"A", {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5}},
    {"C", {0xC7, 0xE7}},
    {"E", {0xC8, 0xC9, 0xCA, 0xE8, 0xE9, 0xEA}},
    {"I", {0xCD, 0xED}},
    {"N", {0xD1, 0xF1}},
    {"O", {0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8}},
    {"U", {0xD9, 0xDA, 0xDB, 0xDC, 0xF9, 0xFA, 0xFB, 0xFC}},
  }
  for _, f in ipairs(folded) do
    for _, c in ipairs(f[2]) do
      w[c] = w[f[1]:byte()]
    end
  end
  local nextWeight = 28
  for c = 0x01, 0x1F do
    w[c] = nextWeight
    nextWeight = nextWeight + 1
  end
  for c = 0x30, 0x39 do
    w[c] = nextWeight
    nextWeight = nextWeight + 1
  end
  for c = 0x21, 0x7F do
    local letterOrDigit = (c >= 0x30 and c <= 0x39) or (c >= 0x41 and c <= 0x5A)
        or (c >= 0x61 and c <= 0x7A)
    if not letterOrDigit then
      w[c] = nextWeight
      nextWeight = nextWeight + 1
    end
  end
  for c = 0x80, 0xBF do
    w[c] = nextWeight
    nextWeight = nextWeight + 1
  end
  for c = 0xC0, 0xFF do
    if w[c] == 0 then
      w[c] = nextWeight
      nextWeight = nextWeight + 1
    end
  end
  return w
end)()

-- A key that two names share exactly when they compare equal in name order.
local function nameKey(name)
  local points = codePoints(name or "")
  if not points then
    return "\255" .. (name or "")
  end
  local parts = {}
  for k, point in ipairs(points) do
    if point < 256 then
      parts[k] = string.char(WEIGHTS[point])
    else
      parts[k] = string.format("\255%x;", point) -- no weight: only equal to itself
    end
  end
  return table.concat(parts)
end

-- The profile ----------------------------------------------------------------------------------

local function limitOf(node)
  return node:selectSingleNode("//dfns:limit")
end

local function publicGroups(node)
  return node:selectNodes("//dfns:PublicGroups/dfns:PublicGroup")
end

local function privateGroups(node)
  return node:selectNodes("//dfns:PrivateGroups/dfns:PrivateGroup")
end

local function privates(node)
  return node:selectNodes("//dfns:Privates/dfns:Private")
end

local function allContacts(node)
  return node:selectNodes("//dfns:Contacts/dfns:*/dfns:*")
end

local function contactCount(node)
  return #allContacts(node)
end

local function memberships(node)
  return node:selectNodes("//dfns:ParentPrivateGroup")
end

local function scrollListEntries(node)
  return node:selectNodes("//dfns:scrolllist/dfns:list")
end

-- The ParentPrivateGroup entries of a private.
local function groupEntriesOf(private)
  local list = private:childByName("ParentPrivateGroups")
  return list and list:childNodes() or {}
end

local function groupCountOf(private)
  local count = 0
  for _, entry in ipairs(groupEntriesOf(private)) do
    if (entry:getAttribute("pid") or "") ~= "" then
      count = count + 1
    end
  end
  return count
end

local function findByPid(list, pid)
  for _, element in ipairs(list) do
    if element:getAttribute("pid") == pid then
      return element
    end
  end
  return nil
end

-- The capacity of a list: the radio's, never beyond what the codeplug holds.
local function capacity(limit, attribute, documentMax)
  return math.min(numberAttr(limit, attribute), documentMax)
end

-- Removal cascades -----------------------------------------------------------------------------

local function remove(node)
  node.parentNode:removeChild(node)
end

-- Private scroll lists name contacts: entries naming a removed contact go with it.
local function removeScrollListEntries(anyNode, name)
  for _, entry in ipairs(scrollListEntries(anyNode)) do
    if entry:getAttribute("name") == name then
      remove(entry)
    end
  end
end

local function renameScrollListEntries(anyNode, oldName, newName)
  for _, entry in ipairs(scrollListEntries(anyNode)) do
    if entry:getAttribute("name") == oldName then
      entry:setAttribute("name", newName)
    end
  end
end

-- Home groups that name the group and no longer fit the private's channel (nil: all of them).
local function clearHomeGroups(anyNode, groupPid, channel)
  for _, private in ipairs(privates(anyNode)) do
    if private:getAttribute("home_grp") == groupPid
        and (channel == nil or numberAttr(private, "channel") ~= channel) then
      private:setAttribute("home_grp", "")
    end
  end
end

local function removeMemberships(anyNode, groupPid)
  for _, entry in ipairs(memberships(anyNode)) do
    if entry:getAttribute("pid") == groupPid then
      remove(entry)
    end
  end
end

-- Removes a contact with everything that refers to it.
local function removeContact(contact)
  local name = contact:getAttribute("name")
  local pid = contact:getAttribute("pid")
  local kind = contact.nodeName
  local anyNode = contact.parentNode
  remove(contact)
  if kind == "PrivateGroup" then
    removeMemberships(anyNode, pid)
  end
  if kind ~= "Private" then
    clearHomeGroups(anyNode, pid, nil)
  end
  removeScrollListEntries(anyNode, name)
end

-- A private group lives only with members: groups that lost their last one are deleted.
local function deleteEmptiedGroups(anyNode, groupPids)
  for _, pid in ipairs(groupPids) do
    local stillUsed = false
    for _, entry in ipairs(memberships(anyNode)) do
      if entry:getAttribute("pid") == pid then
        stillUsed = true
        break
      end
    end
    if not stillUsed then
      local group = findByPid(privateGroups(anyNode), pid)
      if group then
        removeContact(group)
      end
    end
  end
end

-- Takes a private out of all its groups; returns the PIDs of those groups.
local function leaveAllGroups(private)
  local left = {}
  for _, entry in ipairs(groupEntriesOf(private)) do
    local pid = entry:getAttribute("pid") or ""
    if pid ~= "" then
      left[#left + 1] = pid
    end
    remove(entry)
  end
  return left
end

-- Public group ID banks ------------------------------------------------------------------------

local HIGHEST_PRIVATE_PID = 17179867883
local LOWEST_PRIVATE_PID = 10000001
local PID_LIMIT = 1 << 34

local function signedNumber(text)
  local digits = text and text:match("^[ \t]*(%-?%d+)")
  if not digits or #digits > 18 then
    return nil
  end
  return math.tointeger(tonumber(digits))
end

-- The four banks as the data model derives them from the limit element: display numbers count
-- up from first while PIDs count down from base.
local function banksOf(limit)
  local banks = {}
  for i = 0, 3 do
    local bank = {count = 0, first = 0, last = -1, base = nil}
    -- The image holds a bank's size in 8 bits: clamped as the program clamps it.
    bank.count = signedNumber(limit:getAttribute("public_grp_info_lst_size" .. i)) or 0
    bank.count = math.max(0, math.min(bank.count, 255))
    local baseText = limit:getAttribute("public_grp_info_start_pid" .. i) or ""
    if baseText:match("^%d+$") and #baseText <= 18 then
      bank.base = math.tointeger(tonumber(baseText))
    end
    local s = signedNumber(baseText)
    if bank.count > 0 and s and s >= 0 and s < PID_LIMIT
        and (s > HIGHEST_PRIVATE_PID or s <= LOWEST_PRIVATE_PID) then
      local sum = ((s & 0xFFFFFFFF) + 1) & 0xFFFFFFFF
      if sum >= 0x80000000 then
        sum = sum - 0x100000000
      end
      local c = math.abs(sum)
      if c < 1297 then
        bank.first = c + 1
      elseif s <= LOWEST_PRIVATE_PID then
        bank.first = (LOWEST_PRIVATE_PID - s) + 1298
      end
      if bank.first > 0 then
        bank.last = bank.first + bank.count - 1
      end
    end
    banks[#banks + 1] = bank
  end
  return banks
end

local function bankInUse(bank)
  return bank.last >= bank.first and bank.count > 0 and bank.base ~= nil
end

local function publicNumberToPid(banks, number)
  for _, bank in ipairs(banks) do
    if bankInUse(bank) and number >= bank.first and number <= bank.last then
      local offset = number - bank.first
      if bank.base < offset then
        return nil
      end
      return pidText(bank.base - offset)
    end
  end
  return nil
end

local function publicPidToNumber(banks, pid)
  local value = pidNumber(pid)
  if not value then
    return 0
  end
  for _, bank in ipairs(banks) do
    if bankInUse(bank) then
      local lowest = math.max(bank.base - (bank.count - 1), 0)
      if lowest <= value and value <= bank.base then
        return bank.first + (bank.base - value)
      end
    end
  end
  return 0
end

-- A public group PID is one the public group view can show and select.
local function isPublicGroupPid(banks, pid)
  local number = publicPidToNumber(banks, pid)
  return number ~= 0 and publicNumberToPid(banks, number) == pid
end

-- PID allocation -------------------------------------------------------------------------------

local function usedPids(anyNode)
  local used = {}
  for _, contact in ipairs(allContacts(anyNode)) do
    used[contact:getAttribute("pid") or ""] = true
  end
  return used
end

-- The lowest free PID of the private range. The radio's own PID is skipped too: a placeholder
-- must never pass for the radio the profile belongs to.
local function freePrivatePid(anyNode)
  local limit = limitOf(anyNode)
  local first = pidNumber(limit:getAttribute("valid_PID_start"))
  local last = pidNumber(limit:getAttribute("valid_PID_end"))
  if not first or not last then
    return nil
  end
  local used = usedPids(anyNode)
  used[limit:getAttribute("pid") or ""] = true
  local pid = first
  while pid <= last do -- ends after at most one step per used PID
    local text = pidText(pid)
    if not used[text] then
      return text
    end
    pid = pid + 1
  end
  return nil
end

-- The first PID of the public group ID list (banks in order, numbers upwards) that no contact has.
local function freePublicPid(anyNode)
  local banks = banksOf(limitOf(anyNode))
  local used = usedPids(anyNode)
  for _, bank in ipairs(banks) do
    if bankInUse(bank) then
      for number = bank.first, bank.last do
        local pid = publicNumberToPid(banks, number)
        if pid and not used[pid] then
          return pid
        end
      end
    end
  end
  return nil
end

-- Another contact already using pid. A private group may share its PID with a private whose ID is
-- not in use: that private reserves the ID for the group.
local function pidClash(element, pid)
  for _, other in ipairs(allContacts(element)) do
    if other ~= element and other:getAttribute("pid") == pid then
      local shared = (element.nodeName == "PrivateGroup" and other.nodeName == "Private"
                      and other:getAttribute("id_in_use") == "0")
          or (element.nodeName == "Private" and other.nodeName == "PrivateGroup"
              and element:getAttribute("id_in_use") == "0")
      if not shared then
        return true
      end
    end
  end
  return false
end

-- Default names --------------------------------------------------------------------------------

-- The prefix as radio text: other characters dropped, blanks trimmed.
local function cleanPrefix(prefix, fallback)
  local points = codePoints(valueText(prefix)) or {}
  local kept = {}
  for _, point in ipairs(points) do
    if point >= 0x20 and point <= 0xFF then
      kept[#kept + 1] = point
    end
  end
  local text = utf8Text(kept):match("^%s*(.-)%s*$")
  return text ~= "" and text or fallback
end

-- "<prefix> <n>" with the lowest n that no name in taken (a set of name keys) equals, cut to the
-- name length.
local function uniqueName(prefix, taken, maxLength)
  local points = codePoints(prefix) or {}
  for n = 1, 100000 do
    local suffix = " " .. n
    local keep = math.min(#points, maxLength - #suffix)
    local name = utf8Text(points, 1, keep) .. suffix
    if not taken[nameKey(name)] then
      return name
    end
  end
  return nil
end

local function contactNameKeys(anyNode)
  local taken = {}
  for _, contact in ipairs(allContacts(anyNode)) do
    taken[nameKey(contact:getAttribute("name"))] = true
  end
  return taken
end

-- Creates an element with attributes in the given order, appended to parent.
local function appendElement(parent, name, attributes)
  local element = parent:createElement(name)
  for _, pair in ipairs(attributes) do
    element:setAttribute(pair[1], pair[2])
  end
  parent:appendChild(element)
  return element
end

-- Capabilities ---------------------------------------------------------------------------------

-- What a model supports is read from what its codeplug can hold, not from add_prvt_contacts_en
-- and add_prvt_grp_en: those two say whether the radio's own keypad may add private contacts and
-- groups, while the programming software writes both lists to any radio within its capacities.
-- Keying the lists to them would keep a dealer from setting up contacts for exactly the radios
-- whose users may not add their own. So: private contacts are supported when the radio holds
-- contacts at all (its own record is one of them), private groups when it has room for some, and
-- predefined texts when it has room for some and can send or compose messages, which is all they
-- serve for. Public groups are always supported.
local function supportsPrivates(limit)
  return numberAttr(limit, "max_num_of_contacts") > 0
end

local function supportsPrivateGroups(limit)
  return numberAttr(limit, "max_num_of_private_grps") > 0
end

local function supportsTextMessages(limit)
  return numberAttr(limit, "max_num_of_predefined_msgs") > 0
      and (flagAttr(limit, "sms_mesgs_tx_en") or flagAttr(limit, "sms_compose_mesgs_en"))
end

local SUPPORTED = {
  Privates = supportsPrivates,
  PrivateGroups = supportsPrivateGroups,
  TextMessages = supportsTextMessages,
}

local function isSupported(list)
  local supports = SUPPORTED[list.nodeName]
  return supports == nil or supports(limitOf(list))
end

-- A list that holds members is always shown, supported or not: whatever it holds goes to the
-- radio and must stay in view to be checked, changed or deleted. Only an empty list of a kind the
-- model does not support is hidden.
local function isShown(list)
  return isSupported(list) or list.childCount > 0
end

function IsPrivatesEnabled(node)
  return isShown(node)
end

function IsPrivateGroupsEnabled(node)
  return isShown(node)
end

function IsTextMessagesEnabled(node)
  return isShown(node)
end

-- A list shown only for its members says that the radio does not support it.
function ListLabelSuffix(list)
  if isSupported(list) then
    return 0
  end
  return MSG_NOT_SUPPORTED_SUFFIX
end

-- Adding ---------------------------------------------------------------------------------------

local function roomForContact(list)
  local limit = limitOf(list)
  return contactCount(list) < capacity(limit, "max_num_of_contacts", DOCUMENT_MAX_CONTACTS)
end

function CanAddPublicGroup(list)
  local limit = limitOf(list)
  return roomForContact(list)
      and list.childCount < numberAttr(limit, "max_num_of_public_grps")
      and freePublicPid(list) ~= nil
end

-- A private group needs a member to be complete, so one can only be added while some private
-- contact still has a group left.
function CanAddPrivateGroup(list)
  local limit = limitOf(list)
  if not (isSupported(list) and roomForContact(list)
          and list.childCount < numberAttr(limit, "max_num_of_private_grps")) then
    return false
  end
  local memberAvailable = false
  for _, private in ipairs(privates(list)) do
    if groupCountOf(private) < MAX_GROUPS_PER_PRIVATE then
      memberAvailable = true
      break
    end
  end
  return memberAvailable and freePrivatePid(list) ~= nil
end

function CanAddPrivate(list)
  return isSupported(list) and roomForContact(list) and freePrivatePid(list) ~= nil
end

function CanAddTextMessage(list)
  local limit = limitOf(list)
  return isSupported(list)
      and list.childCount < capacity(limit, "max_num_of_predefined_msgs", DOCUMENT_MAX_TEXTS)
end

function CanAddParentGroup(list)
  return list.childCount < MAX_GROUPS_PER_PRIVATE
end

-- A private scroll list names each contact at most once.
function CanAddScrollListEntry(list)
  local listed = {}
  for _, entry in ipairs(list:childNodes()) do
    listed[entry:getAttribute("name") or ""] = true
  end
  for _, contact in ipairs(allContacts(list)) do
    if not listed[contact:getAttribute("name") or ""] then
      return true
    end
  end
  return false
end

-- New public groups take the first free ID of the public group ID list.
function AddPublicGroup(list)
  if not CanAddPublicGroup(list) then
    return nil
  end
  return appendElement(list, "PublicGroup", {
    {"cntct_type", "2"},
    {"name", uniqueName("Public Group", contactNameKeys(list), MAX_NAME_LENGTH)},
    {"pid", freePublicPid(list)},
    {"channel", "1"},
    {"in_scan_list", "0"},
    {"in_scroll_list", "0"},
  })
end

-- New private groups take the lowest free PID of the private range; the view then asks for
-- members on the group's channel.
function AddPrivateGroup(list, prefix)
  if not CanAddPrivateGroup(list) then
    return nil
  end
  return appendElement(list, "PrivateGroup", {
    {"cntct_type", "1"},
    {"name", uniqueName(cleanPrefix(prefix, "Group"), contactNameKeys(list), MAX_NAME_LENGTH)},
    {"pid", freePrivatePid(list)},
    {"channel", "1"},
    {"in_scroll_list", "0"},
  })
end

-- New private contacts: ringer 1, no home group, no groups, an empty private scroll list.
function AddPrivate(list, prefix)
  if not CanAddPrivate(list) then
    return nil
  end
  local private = appendElement(list, "Private", {
    {"cntct_type", "0"},
    {"name", uniqueName(cleanPrefix(prefix, "Private"), contactNameKeys(list), MAX_NAME_LENGTH)},
    {"pid", freePrivatePid(list)},
    {"channel", "1"},
    {"in_scroll_list", "0"},
    {"alert_tone", "1"},
    {"home_grp", ""},
    {"show_grp_only", "0"},
    {"id_in_use", "1"},
    {"see_all_groups", "0"},
    {"mngr_mode", "0"},
    {"private_scroll_list", "0"},
  })
  appendElement(private, "ParentPrivateGroups", {})
  appendElement(private, "scrolllist", {})
  return private
end

-- New texts get a distinct placeholder the user types over.
function AddTextMessage(list)
  if not CanAddTextMessage(list) then
    return nil
  end
  local taken = {}
  for _, text in ipairs(list:childNodes()) do
    taken[nameKey(text:getAttribute("txt"))] = true
  end
  return appendElement(list, "TextMessage", {{"txt", uniqueName("Message", taken, MAX_TEXT_LENGTH)}})
end

-- A membership entry; the group view commits the group's PID into it right away.
function AddParentGroup(list)
  if not CanAddParentGroup(list) then
    return nil
  end
  return appendElement(list, "ParentPrivateGroup", {{"pid", ""}})
end

-- An entry naming an existing contact that the list does not hold yet.
function AddScrollListEntry(list, name)
  name = valueText(name)
  local exists = false
  for _, contact in ipairs(allContacts(list)) do
    if contact:getAttribute("name") == name then
      exists = true
      break
    end
  end
  if not exists then
    return nil
  end
  for _, entry in ipairs(list:childNodes()) do
    if entry:getAttribute("name") == name then
      return nil
    end
  end
  return appendElement(list, "list", {{"name", name}})
end

-- Deleting -------------------------------------------------------------------------------------

-- Public groups go at once; a private group with members and a private that belongs to groups
-- ask first. Memberships, home groups and private scroll list entries of the contact go with it,
-- and private groups left without members are deleted.
function DeleteContact(contact, message, confirmed, style)
  local kind = contact.nodeName
  if kind == "PrivateGroup" then
    local pid = contact:getAttribute("pid")
    local hasMembers = false
    for _, entry in ipairs(memberships(contact)) do
      if entry:getAttribute("pid") == pid then
        hasMembers = true
        break
      end
    end
    if hasMembers and not isConfirmed(confirmed) then
      return ask(MSG_CONFIRM_DELETE_GROUP)
    end
    removeContact(contact)
  elseif kind == "Private" then
    if groupCountOf(contact) > 0 and not isConfirmed(confirmed) then
      return ask(MSG_CONFIRM_DELETE_PRIVATE)
    end
    local anyNode = contact.parentNode
    local groups = leaveAllGroups(contact)
    removeContact(contact)
    deleteEmptiedGroups(anyNode, groups)
  else
    removeContact(contact)
  end
  return accept()
end

-- Leaving a group is the private group view's own bookkeeping: a group left without members is
-- offered for deletion when its view is left, not deleted here.
function DeleteParentGroup(entry, message, confirmed, style)
  remove(entry)
  return accept()
end

function DeleteScrollListEntry(entry, message, confirmed, style)
  remove(entry)
  return accept()
end

function DeleteTextMessage(text, message, confirmed, style)
  remove(text)
  return accept()
end

-- Contact fields -------------------------------------------------------------------------------

-- Names: 1 to 20 characters the radio can show, and no two contacts whose names compare equal in
-- name order (the lists find contacts by name). Control codes count as characters the radio
-- cannot show. Returns the message of the first rule the name breaks, or nil.
local function nameFault(element, name)
  local points = codePoints(name)
  if not points then
    return MSG_NAME_NOT_LATIN1
  end
  if #points < 1 then
    return MSG_NAME_EMPTY
  end
  if #points > MAX_NAME_LENGTH then
    return MSG_NAME_TOO_LONG
  end
  if not isRadioText(points) then
    return MSG_NAME_NOT_LATIN1
  end
  local key = nameKey(name)
  for _, other in ipairs(allContacts(element)) do
    if other ~= element and nameKey(other:getAttribute("name")) == key then
      return MSG_SIMILAR_NAME
    end
  end
  return nil
end

-- A renamed contact keeps its private scroll list entries.
function SetContactName(element, attribute, value, message, confirmed, style)
  local name = valueText(value)
  local fault = nameFault(element, name)
  if fault then
    return refuse(fault)
  end
  local oldName = element:getAttribute("name")
  element:setAttribute("name", name)
  if oldName and oldName ~= name then
    renameScrollListEntries(element, oldName, name)
  end
  return accept()
end

-- PIDs are unique among contacts. Privates and private groups take theirs from the radio's
-- private range (digits without a leading zero); public groups from the public group ID banks.
-- Returns the message of the first rule the PID breaks, or nil.
local function pidFault(element, pid)
  local limit = limitOf(element)
  if element.nodeName == "PublicGroup" then
    if not isPublicGroupPid(banksOf(limit), pid) then
      return MSG_NOT_A_PUBLIC_GROUP_ID
    end
  else
    local number = pidNumber(pid)
    local first = pidNumber(limit:getAttribute("valid_PID_start"))
    local last = pidNumber(limit:getAttribute("valid_PID_end"))
    if not number or pid:sub(1, 1) == "0" or not first or not last or number < first
        or number > last then
      return MSG_PID_OUT_OF_RANGE
    end
  end
  if pidClash(element, pid) then
    return MSG_SIMILAR_PID
  end
  return nil
end

-- Memberships and home groups follow a group whose PID changes.
function SetContactPid(element, attribute, value, message, confirmed, style)
  local pid = valueText(value):match("^%s*(.-)%s*$")
  local oldPid = element:getAttribute("pid")
  if pid == oldPid then
    return accept()
  end
  local kind = element.nodeName
  local fault = pidFault(element, pid)
  if fault then
    return refuse(fault)
  end
  element:setAttribute("pid", pid)
  if kind ~= "Private" and oldPid and oldPid ~= "" then
    for _, private in ipairs(privates(element)) do
      if private:getAttribute("home_grp") == oldPid then
        private:setAttribute("home_grp", pid)
      end
    end
    if kind == "PrivateGroup" then
      for _, entry in ipairs(memberships(element)) do
        if entry:getAttribute("pid") == oldPid then
          entry:setAttribute("pid", pid)
        end
      end
    end
  end
  return accept()
end

local function scanListCount(anyNode, channel)
  local count = 0
  for _, group in ipairs(publicGroups(anyNode)) do
    if numberAttr(group, "channel") == channel and flagAttr(group, "in_scan_list") then
      count = count + 1
    end
  end
  return count
end

-- A public group in a scan list moves to the new channel's scan list after confirmation (133).
-- When that list is already full the move is made at once, out of every scan list, and the user
-- is told so (134, OK only); the view's repeat then finds the channel set.
local function setPublicGroupChannel(group, channel, confirmed)
  local pid = group:getAttribute("pid")
  if flagAttr(group, "in_scan_list") then
    if scanListCount(group, channel) >= MAX_SCAN_LIST then
      group:setAttribute("channel", channel)
      group:setAttribute("in_scan_list", "0")
      clearHomeGroups(group, pid, channel)
      return REFUSED, MSG_SCAN_LIST_FULL_AFTER_MOVE, MB_OK | MB_ICONINFORMATION
    end
    if not isConfirmed(confirmed) then
      return ask(MSG_CONFIRM_PUBLIC_CHANNEL)
    end
  end
  group:setAttribute("channel", channel)
  clearHomeGroups(group, pid, channel)
  return accept()
end

-- Members of a private group are privates on its channel: moving the group removes them all
-- (136). The new channel must have a private with a group left, or the group could never be
-- completed (135; the view checks this first).
local function setPrivateGroupChannel(group, channel, confirmed)
  local available = false
  for _, private in ipairs(privates(group)) do
    if numberAttr(private, "channel") == channel
        and groupCountOf(private) < MAX_GROUPS_PER_PRIVATE then
      available = true
      break
    end
  end
  if not available then
    return refuse(MSG_NO_PRIVATE_ON_CHANNEL)
  end
  local pid = group:getAttribute("pid")
  local members = {}
  for _, entry in ipairs(memberships(group)) do
    if entry:getAttribute("pid") == pid then
      members[#members + 1] = entry
    end
  end
  if #members > 0 and not isConfirmed(confirmed) then
    return ask(MSG_CONFIRM_GROUP_CHANNEL)
  end
  for _, entry in ipairs(members) do
    remove(entry)
  end
  group:setAttribute("channel", channel)
  clearHomeGroups(group, pid, channel)
  return accept()
end

-- A private that changes channel leaves all its groups, groups left without members are deleted,
-- and its home group is cleared (137). Without groups or home group it just moves.
local function setPrivateChannel(private, channel, confirmed)
  local home = private:getAttribute("home_grp") or ""
  if (groupCountOf(private) > 0 or home ~= "") and not isConfirmed(confirmed) then
    return ask(MSG_CONFIRM_PRIVATE_CHANNEL)
  end
  local groups = leaveAllGroups(private)
  deleteEmptiedGroups(private, groups)
  private:setAttribute("home_grp", "")
  private:setAttribute("channel", channel)
  return accept()
end

function SetContactChannel(element, attribute, value, message, confirmed, style)
  local channel = valueInteger(value)
  local channels = numberAttr(limitOf(element), "max_num_of_channels")
  if not channel or channel < 1 or channel > channels then
    return refuse(MSG_PROGRAMMING_ERROR)
  end
  if channel == numberAttr(element, "channel") then
    element:setAttribute("channel", channel)
    return accept()
  end
  local kind = element.nodeName
  if kind == "PublicGroup" then
    return setPublicGroupChannel(element, channel, confirmed)
  elseif kind == "PrivateGroup" then
    return setPrivateGroupChannel(element, channel, confirmed)
  end
  return setPrivateChannel(element, channel, confirmed)
end

-- A channel's scan list holds at most 10 public groups.
function SetInScanList(element, attribute, value, message, confirmed, style)
  local on = valueFlag(value)
  if on and not flagAttr(element, "in_scan_list")
      and scanListCount(element, numberAttr(element, "channel")) >= MAX_SCAN_LIST then
    return refuse(MSG_CHANNEL_SCAN_LIST_FULL)
  end
  element:setAttribute("in_scan_list", on and "1" or "0")
  return accept()
end

-- A home group is none, or a private or public group on the private's own channel.
function SetHomeGroup(element, attribute, value, message, confirmed, style)
  local pid = valueText(value):match("^%s*(.-)%s*$")
  if pid ~= "" then
    local group = findByPid(privateGroups(element), pid) or findByPid(publicGroups(element), pid)
    if not group or numberAttr(group, "channel") ~= numberAttr(element, "channel") then
      return refuse(MSG_PROGRAMMING_ERROR)
    end
  end
  element:setAttribute("home_grp", pid)
  return accept()
end

-- A membership names an existing private group on the private's channel, once, and a private
-- belongs to at most 5 groups.
function SetParentGroupPid(element, attribute, value, message, confirmed, style)
  local pid = valueText(value):match("^%s*(.-)%s*$")
  if pid == element:getAttribute("pid") then
    return accept()
  end
  local private = element.parentNode and element.parentNode.parentNode
  if not private then
    return refuse(MSG_PROGRAMMING_ERROR)
  end
  local others = 0
  for _, entry in ipairs(groupEntriesOf(private)) do
    if entry ~= element and (entry:getAttribute("pid") or "") ~= "" then
      if entry:getAttribute("pid") == pid then
        return refuse(MSG_PROGRAMMING_ERROR)
      end
      others = others + 1
    end
  end
  if others >= MAX_GROUPS_PER_PRIVATE then
    return refuse(MSG_MAX_GROUPS_PER_PRIVATE)
  end
  local group = findByPid(privateGroups(element), pid)
  if not group or numberAttr(group, "channel") ~= numberAttr(private, "channel") then
    return refuse(MSG_PROGRAMMING_ERROR)
  end
  element:setAttribute("pid", pid)
  return accept()
end

-- Text messages ---------------------------------------------------------------------------------

-- Texts go to the radio as ISO-8859-1 (217 lets the view offer to delete the message). Control
-- codes are dropped as the view drops them, and the radio holds 80 characters.
function SetTextMessage(element, attribute, value, message, confirmed, style)
  local points = codePoints(valueText(value))
  if not points then
    return REFUSED, MSG_TEXT_NOT_LATIN1, MB_OKCANCEL | MB_ICONEXCLAMATION
  end
  local kept = {}
  for _, point in ipairs(points) do
    if point > 0xFF then
      return REFUSED, MSG_TEXT_NOT_LATIN1, MB_OKCANCEL | MB_ICONEXCLAMATION
    end
    if point >= 0x20 and #kept < MAX_TEXT_LENGTH then
      kept[#kept + 1] = point
    end
  end
  element:setAttribute("txt", utf8Text(kept))
  return accept()
end

-- Settings -------------------------------------------------------------------------------------

-- The codeplug password is empty (none) or 4 digits.
function SetPassword(element, attribute, value, message, confirmed, style)
  local password = valueText(value)
  if password ~= "" and not password:match("^%d%d%d%d$") then
    return refuse(MSG_PASSWORD_DIGITS)
  end
  element:setAttribute("password", password)
  return accept()
end

-- The radio's language: one of the languages its limits list.
function SetLanguage(element, attribute, value, message, confirmed, style)
  local id = valueInteger(value)
  local limit = limitOf(element)
  if id and limit then
    local count = numberAttr(limit, "num_of_languages")
    for index, language in ipairs(limit:selectNodes("dfns:languages/dfns:language")) do
      if index > count then
        break
      end
      if numberAttr(language, "language_id") == id then
        element:setAttribute("language", string.format("%d", id))
        return accept()
      end
    end
  end
  return refuse(MSG_NO_SUCH_LANGUAGE)
end

-- Volume levels go up to the radio's highest; the ringer and the keypad can be off (0), the
-- others start at 1.
local VOLUME_OFF_ALLOWED = { ringer_vol_level = true, keypad_vol_level = true }

function SetVolumeLevel(element, attribute, value, message, confirmed, style)
  local name = attribute.nodeName
  local level = valueInteger(value)
  local lowest = VOLUME_OFF_ALLOWED[name] and 0 or 1
  local highest = numberAttr(limitOf(element), "max_vol_level")
  if not level or level < lowest or level > highest then
    return refuse(MSG_NO_SUCH_VOLUME_LEVEL)
  end
  element:setAttribute(name, string.format("%d", level))
  return accept()
end

-- Checking a whole profile --------------------------------------------------------------------

-- The rules a contact must keep to be written as it is: its name, its PID and its channel.
function CheckContact(contact, severity)
  local fault = nameFault(contact, contact:getAttribute("name") or "")
      or pidFault(contact, contact:getAttribute("pid") or "")
  if fault then
    return fault, SEVERITY_ERROR
  end
  local channel = numberAttr(contact, "channel")
  if channel < 1 or channel > numberAttr(limitOf(contact), "max_num_of_channels") then
    return MSG_NO_SUCH_CHANNEL, SEVERITY_ERROR
  end
  return 0, SEVERITY_ERROR
end

-- The radio shows ISO-8859-1 without control codes, at most 80 characters.
function CheckTextMessage(text, severity)
  local points = codePoints(text:getAttribute("txt") or "")
  if not points or not isRadioText(points) then
    return MSG_TEXT_CHARACTERS, SEVERITY_ERROR
  end
  if #points > MAX_TEXT_LENGTH then
    return MSG_TEXT_TOO_LONG, SEVERITY_ERROR
  end
  return 0, SEVERITY_ERROR
end

-- The capacity of each list, and of all contacts together. A list the model does not support is
-- a warning only: the write sends what the radio takes and warns about the rest.
local LIST_CAPACITY = {
  Contacts = function(limit)
    return capacity(limit, "max_num_of_contacts", DOCUMENT_MAX_CONTACTS)
  end,
  PublicGroups = function(limit)
    return numberAttr(limit, "max_num_of_public_grps")
  end,
  PrivateGroups = function(limit)
    return numberAttr(limit, "max_num_of_private_grps")
  end,
  TextMessages = function(limit)
    return capacity(limit, "max_num_of_predefined_msgs", DOCUMENT_MAX_TEXTS)
  end,
}

function CheckList(list, severity)
  local members = list.nodeName == "Contacts" and contactCount(list) or list.childCount
  if members == 0 then
    return 0, SEVERITY_ERROR
  end
  if not isSupported(list) then
    return MSG_LIST_NOT_SUPPORTED, SEVERITY_WARNING
  end
  local capacityOf = LIST_CAPACITY[list.nodeName]
  if capacityOf and members > capacityOf(limitOf(list)) then
    return MSG_OVER_CAPACITY, SEVERITY_ERROR
  end
  return 0, SEVERITY_ERROR
end
