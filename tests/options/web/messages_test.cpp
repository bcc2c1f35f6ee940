// SPDX-License-Identifier: GPL-3.0-or-later
// The phones' messages and the state message: what is accepted, what is refused and why, and
// that what the phones get is JSON an independent reader (Qt's) takes as the same values.

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <clocale>

#include "web/json_text.h"
#include "web/remote_command.h"
#include "web/remote_message.h"
#include "web/web_texts.h"

namespace lumiere {
namespace {

using Kind = RemoteCommand::Kind;

RemoteCommand accepted(std::string_view text) {
    const PhoneMessage message = parsePhoneMessage(text);
    EXPECT_EQ(message.kind, PhoneMessage::Kind::Command) << text << ": " << message.refusal;
    return message.command;
}

std::string refusal(std::string_view text) {
    const PhoneMessage message = parsePhoneMessage(text);
    EXPECT_EQ(message.kind, PhoneMessage::Kind::Refused) << text;
    return message.refusal;
}

TEST(PhoneMessageTest, EachCommandOfThePage) {
    EXPECT_EQ(accepted(R"({"c":"marche"})"), (RemoteCommand{Kind::Switch, 0, ""}));
    EXPECT_EQ(accepted(R"({"c":"effet","n":7})"), (RemoteCommand{Kind::Effect, 7, ""}));
    EXPECT_EQ(accepted(R"({"c":"stop"})"), (RemoteCommand{Kind::StopAll, 0, ""}));
    EXPECT_EQ(accepted(R"( { "n" : 20 , "c" : "general" } )"),
              (RemoteCommand{Kind::Master, 20, ""}));
    EXPECT_EQ(accepted(R"({"c":"general","n":0})"), (RemoteCommand{Kind::Master, 0, ""}));
    EXPECT_EQ(accepted(R"({"c":"lancer","nom":"soir\u00e9e.txt"})"),
              (RemoteCommand{Kind::RunSequence, 0, "soirée.txt"}));
    EXPECT_EQ(accepted(R"({"c":"arreter"})"), (RemoteCommand{Kind::StopSequence, 0, ""}));

    const PhoneMessage seen = parsePhoneMessage(R"({"vu":123456})");
    EXPECT_EQ(seen.kind, PhoneMessage::Kind::Seen);
    EXPECT_EQ(seen.seen, 123456u);
}

TEST(PhoneMessageTest, WhatThePageSendsReadsBackAsTheSameCommand) {
    for (const RemoteCommand& command :
         {RemoteCommand{Kind::Switch, 0, ""}, RemoteCommand{Kind::Effect, 9, ""},
          RemoteCommand{Kind::Master, 13, ""}, RemoteCommand{Kind::StopAll, 0, ""},
          RemoteCommand{Kind::RunSequence, 0, "a \"b\" é€.txt"},
          RemoteCommand{Kind::StopSequence, 0, ""}})
        EXPECT_EQ(accepted(commandMessage(command)), command);
}

TEST(PhoneMessageTest, BrokenJsonIsUnreadable) {
    for (const char* text : {"",
                             "{",
                             "}",
                             "[]",
                             "null",
                             "\"marche\"",
                             R"({"c":"marche")",
                             R"({"c":"marche"}})",
                             R"({"c":"marche"} x)",
                             R"({"c":"marche",})",
                             R"({c:"marche"})",
                             R"({'c':'marche'})",
                             R"({"c":"mar)",
                             R"({"c":"effet","n":07})",
                             R"({"c":"effet","n":7.0})",
                             R"({"c":"effet","n":1e1})",
                             R"({"c":"effet","n":+7})",
                             R"({"c":"effet","n":-})",
                             R"({"c":"effet","n":1234567890123456})",
                             R"({"c":"a\x"})",
                             R"({"c":"\u12"})",
                             R"({"c":"\ud800"})",
                             R"({"c":"\udc00x"})",
                             R"({"c":"\u0000"})",
                             "{\"c\":\"a\nb\"}",
                             "{\"c\":\"\xC3\"}",
                             "{\"c\":\"\xED\xA0\x80\"}",
                             "{\"c\":\"\xC0\xAF\"}",
                             R"({"c":"marche","c":"stop"})",
                             R"({"c":{"x":1}})",
                             R"({"c":["marche"]})",
                             R"({"c":true})",
                             R"({"c":null})"})
        EXPECT_EQ(refusal(text), web_text::kUnreadable) << text;
    EXPECT_EQ(refusal(R"({"a":1,"b":2,"d":3,"e":4,"f":5,"g":6,"h":7,"i":8,"j":9})"),
              web_text::kUnreadable);
}

TEST(PhoneMessageTest, UnknownCommandsAndRangesAreRefusedWithTheirReason) {
    for (const char* text :
         {"{}", R"({"c":"danse"})", R"({"c":"MARCHE"})", R"({"c":"marche","n":1})",
          R"({"c":"effet"})", R"({"c":"effet","x":1})", R"({"c":"effet","n":"7"})",
          R"({"c":"general","n":"10"})", R"({"c":"lancer","nom":3})", R"({"c":7})",
          R"({"commande":"marche"})", R"({"vu":"1"})", R"({"vu":1,"c":"stop"})"})
        EXPECT_EQ(refusal(text), web_text::kUnknownCommand) << text;
    for (const char* text :
         {R"({"c":"effet","n":0})", R"({"c":"effet","n":10})", R"({"c":"general","n":-1})",
          R"({"c":"general","n":21})", R"({"vu":-1})"})
        EXPECT_EQ(refusal(text), web_text::kOutOfRange) << text;
    for (const char* text :
         {R"({"c":"lancer","nom":""})", R"({"c":"lancer","nom":"../param.ini"})",
          R"({"c":"lancer","nom":"/etc/passwd"})", R"({"c":"lancer","nom":".."})",
          R"({"c":"lancer","nom":"a\\b"})", R"({"c":"lancer","nom":"a\tb"})"})
        EXPECT_EQ(refusal(text), web_text::kUnknownSequence) << text;
}

TEST(PhoneMessageTest, MessagesOverTheLimitAreRefusedUnread) {
    std::string name(kMaxMessageBytes, 'a');
    EXPECT_EQ(refusal(R"({"c":"lancer","nom":")" + name + "\"}"), web_text::kTooLong);
    name.resize(kMaxNameBytes + 1);
    EXPECT_EQ(refusal(R"({"c":"lancer","nom":")" + name + "\"}"), web_text::kUnknownSequence);
    name.resize(kMaxNameBytes);
    EXPECT_EQ(accepted(R"({"c":"lancer","nom":")" + name + "\"}").name, name);
}

QJsonObject readBack(const std::string& message) {
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(message), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << message;
    EXPECT_TRUE(json::isValidUtf8(message)) << message;
    return document.object();
}

TEST(StateMessageTest, QtReadsTheSameState) {
    RemoteState state;
    state.lamps = {true, false, false, true, false, false, false, true};
    state.on = true;
    state.pressed[6] = true;
    state.master = 17;
    state.sequences = {"exemple.txt", "soirée \"été\".txt", "a\\b\x01"};
    state.sequenceRunning = true;
    state.music = true;
    state.beats = 42;
    state.bpm = 122.46;
    state.busy = "Une fenêtre est ouverte sur le pupitre.";

    const QJsonObject o = readBack(stateMessage(state, 99));
    EXPECT_EQ(o["t"].toString(), "etat");
    EXPECT_EQ(o["n"].toInt(), 99);
    const QJsonArray lamps = o["lampes"].toArray();
    ASSERT_EQ(lamps.size(), 8);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(lamps[k].toBool(), state.lamps[k]) << k;
    EXPECT_TRUE(o["marche"].toBool());
    const QJsonArray effects = o["effets"].toArray();
    ASSERT_EQ(effects.size(), 9);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(effects[k].toBool(), k == 6) << k;
    EXPECT_EQ(o["general"].toInt(), 17);
    const QJsonArray names = o["sequences"].toArray();
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[1].toString(), QString::fromUtf8("soirée \"été\".txt"));
    EXPECT_EQ(names[2].toString(), QString::fromUtf8("a\\b\x01"));
    EXPECT_TRUE(o["sequenceEnCours"].toBool());
    EXPECT_TRUE(o["musique"].toBool());
    EXPECT_EQ(o["battements"].toInt(), 42);
    EXPECT_DOUBLE_EQ(o["bpm"].toDouble(), 122.5);
    EXPECT_EQ(o["occupe"].toString().toStdString(), state.busy);
}

TEST(StateMessageTest, StaysValidWhateverTheNamesAndTheLocale) {
    // A Qt program runs with the user's locale, whose decimal separator may be a comma.
    const char* previous = std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    RemoteState state;
    state.sequences = {"\xE9t\xE9.txt", "\xFF\xFE", std::string("a\0b", 3)};
    state.bpm = 98.25;
    const QJsonObject o = readBack(stateMessage(state, 1));
    EXPECT_EQ(o["sequences"].toArray()[0].toString(), QString::fromUtf8("\uFFFDt\uFFFD.txt"));
    EXPECT_EQ(o["sequences"].toArray()[2].toString(), QString::fromUtf8("a\0b", 3));
    EXPECT_GT(o["bpm"].toDouble(), 98.0);
    state.bpm = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(readBack(stateMessage(state, 2))["bpm"].toDouble(), 0.0);
    if (previous) std::setlocale(LC_NUMERIC, "C");

    const QJsonObject refused = readBack(refusalMessage("Code \"faux\""));
    EXPECT_EQ(refused["t"].toString(), "refus");
    EXPECT_EQ(refused["raison"].toString(), "Code \"faux\"");
    EXPECT_EQ(readBack(closingMessage("x"))["t"].toString(), "fin");
}

}  // namespace
}  // namespace lumiere
